// The poll tick and the reply decoder of the main window.
#include "platform/clock.h"
#include "platform/format.h"
#include "supervisor/form1.h"
#include "supervisor/frames.h"
#include "supervisor/zuno1.h"

using namespace ZUNO1;

void Form1::Timer1_Timer() {
    while (PollSlot <= kSlots && InstalledModel[PollSlot] == 0) ++PollSlot;
    if (PollSlot > kSlots) PollSlot = 1;
    const int s = PollSlot;

    Label7->setText(QString::number(s) + QStringLiteral("  ") +
                    platform::FormatDate(platform::Now(), QStringLiteral("dd/mm/yy  hh:mm")));

    if (MissedPolls[s] < 5) {
        Label5[s - 1]->setText(QString());
        ++MissedPolls[s];
    } else if (InstalledModel[s] != 0) {
        Label5[s - 1]->setText(QStringLiteral("Off Line"));
        MissedPolls[s] = 5;
    }

    const bool selected = SelectedSlot == s;
    const QByteArray frame =
        RequestFrame(s, selected ? CommandCode[s] : 0, selected ? CommandValue : 0);
    // One character per write, as the line expects.
    for (char c : frame) Comm1.Output(QString(QChar::fromLatin1(c)));

    SendFlag[s] = 0;
    ++PollSlot;
}

void Form1::Comm1_OnComm() {
    QByteArray frame;
    frame += Comm1.Input().toLatin1();
    if (frame.isEmpty()) return;
    if (frame[0] != STX) {
        Comm1.InputLen = 0;
        Comm1.Input();
        Comm1.InputLen = 1;
        return;
    }
    while (frame.size() < kReplyLength) {
        const QString c = Comm1.Input();
        if (c.isEmpty()) return;  // short reply: what was read is lost
        frame += c.toLatin1();
    }
    const std::optional<ReplyValues> r = DecodeReply(frame, TransducerScale);
    if (!r) return;

    // Staging row, then the accepted copy (row 0 again when refused).
    const auto store = [&r](int row) {
        PerSlot<Integer>* temps[7] = {&Temp1, &Temp2, &Temp3, &Temp4, &Temp5, &Temp6, &Temp7};
        for (int i = 0; i < 7; ++i) (*temps[i])[row] = r->temp[i];
        OuterPressure[row] = r->outerPressure;
        InnerPressure[row] = r->innerPressure;
        Humidity[row] = r->humidity;
        CycleStatus[row] = r->cycleStatus;
        CyclePhase[row] = r->cyclePhase;
        ParamLow[row] = r->paramLow;
        ParamHigh[row] = r->paramHigh;
    };
    store(0);
    ReplySlot = Integer(r->slot);
    ReplyFlag[ReplySlot] = 0;
    MissedPolls[ReplySlot] = 0;
    store(ReplySlot);
}
