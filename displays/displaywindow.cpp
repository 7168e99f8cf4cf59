#include "displays/displaywindow.h"

#include <QApplication>
#include <QFrame>
#include <QPalette>
#include <algorithm>

#include "platform/form.h"

namespace displays {

using namespace ZUNO1;

namespace {

// Layout, in pixels (converted to twips when placed).
constexpr int kMargin = 16;
constexpr int kColumnGap = 36;
constexpr int kCaptionGap = 10;
constexpr int kValueWidth = 96;
constexpr int kValueHeight = 24;
constexpr int kLabelRow = 30;
constexpr int kLedGapBelow = 8;
constexpr int kLotWidth = 116;
constexpr int kButtonHeight = 32;
constexpr int kButtonGap = 8;
constexpr int kMinButtonWidth = 112;
constexpr int kMinWidth = 520;
constexpr int kButtonSlack = 90;  // widening allowed to keep the buttons in one row
constexpr int kStoppedCode = 99;

const QColor kRunning(0, 0, 255);
const QColor kStopped(255, 0, 0);

void place(QWidget* w, int x, int y, int width, int height) {
    platform::setTwipsGeometry(w, platform::twips(x), platform::twips(y), platform::twips(width),
                               platform::twips(height));
}

QFont scaled(QFont f, double factor, bool bold) {
    f.setPointSizeF(f.pointSizeF() * factor);
    f.setBold(bold);
    return f;
}

int advance(const QWidget* w, const QString& text) {
    return QFontMetrics(w->font()).horizontalAdvance(text);
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text = {}) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

void setIfChanged(QLabel* l, const QString& text) {
    if (l->text() != text) l->setText(text);
}

QFrame* makeRule(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

bool validSlot(int slot) {
    return slot >= 1 && slot <= kSlots;
}

}  // namespace

DisplayWindow::DisplayWindow() = default;

DisplayWindow::~DisplayWindow() {
    Timer1.stop();
    // The LED panels go before the window's children.
    for (auto& led : Led1) led.reset();
}

void DisplayWindow::build(const ModelDesc& desc) {
    desc_ = &desc;
    setObjectName(QString::fromLatin1(desc.className));
    setWindowTitle(QString::fromUtf8(desc.caption));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
    createControls();
    layoutControls();
    Timer1.setInterval(kRefreshMs);
    connect(&Timer1, &QTimer::timeout, this, &DisplayWindow::Timer1_Timer);
}

void DisplayWindow::createControls() {
    const QFont base = QApplication::font();

    Label11 = makeLabel(this, QStringLiteral("Label11"), QStringLiteral("Controlador :"));
    Label11->setFont(scaled(base, 1.15, true));
    Label1 = makeLabel(this, QStringLiteral("Label1"));
    Label1->setFont(scaled(base, 1.15, true));

    Label27 = makeLabel(this, QStringLiteral("Label27"), QStringLiteral("Estado :"));
    Label28 = makeLabel(this, QStringLiteral("Label28"));
    Label28->setFont(scaled(base, 1.1, true));
    Label25 = makeLabel(this, QStringLiteral("Label25"), QStringLiteral("Fase :"));
    Label26 = makeLabel(this, QStringLiteral("Label26"));
    Label26->setFont(scaled(base, 1.1, true));

    Label10 = makeLabel(this, QStringLiteral("Label10"), QStringLiteral("Temperaturas Internas"));
    Label10->setFont(scaled(base, 1.0, true));

    Label15 = makeLabel(this, QStringLiteral("Label15"), QString::fromUtf8(desc_->warning));
    Label15->setWordWrap(true);
    Label15->setAlignment(Qt::AlignCenter);
    Label15->setFrameStyle(QFrame::Box | QFrame::Plain);
    Label15->setMargin(4);
    Label15->setAutoFillBackground(true);
    {
        QPalette p = Label15->palette();
        p.setColor(QPalette::Window, QColor(0xFF, 0xF4, 0xC2));
        p.setColor(QPalette::WindowText, QColor(0x9A, 0, 0));
        Label15->setPalette(p);
    }

    QFont valueFont = scaled(base, 1.05, true);
    for (const FieldDesc& f : desc_->fields) {
        Field field{&f};
        const QString name = QString::fromLatin1(f.name);
        field.caption = makeLabel(
            this,
            f.captionName ? QString::fromLatin1(f.captionName) : name + QStringLiteral("Caption"),
            QString::fromUtf8(f.caption));
        if (f.kind == Kind::Label) {
            auto* value = makeLabel(this, name);
            value->setFont(valueFont);
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            value->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
            value->setIndent(6);
            value->setAutoFillBackground(true);
            QPalette p = value->palette();
            p.setColor(QPalette::Window, Qt::white);
            p.setColor(QPalette::WindowText, Qt::black);
            value->setPalette(p);
            value->setAccessibleName(QString::fromUtf8(f.caption));
            field.value = value;
        } else if (f.kind == Kind::Lot) {
            Text1 = new QLineEdit(this);
            Text1->setObjectName(name);
            Text1->setMaxLength(kLotChars);
            Text1->setFont(valueFont);
            Text1->setAccessibleName(QString::fromUtf8(f.caption));
            field.value = Text1;
        }
        if (f.suffix) {
            field.suffix =
                makeLabel(this, QString::fromLatin1(f.suffixName), QString::fromUtf8(f.suffix));
            field.suffix->setFont(valueFont);
        }
        field.caption->setBuddy(field.value);
        fields_.push_back(field);
    }
    createLeds();

    for (const ButtonDesc& b : desc_->buttons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(false);
        // The handler may outlive the window (EnviaComando runs events): it gets the table row.
        const ButtonDesc* row = &b;
        connect(button, &QPushButton::clicked, this, [this, row] { CycleButton_Click(*row); });
        buttons_.emplace_back(row, button);
    }
    Command3 = new QPushButton(QStringLiteral("Aborta Ciclo"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setAutoDefault(false);
    {
        Command3->setFont(scaled(base, 1.0, true));
        QPalette p = Command3->palette();
        p.setColor(QPalette::ButtonText, QColor(0xB0, 0, 0));
        Command3->setPalette(p);
    }
    connect(Command3, &QPushButton::clicked, this, &DisplayWindow::Command3_Click);
    Command1 = new QPushButton(QStringLiteral("Ok"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &DisplayWindow::Command1_Click);
}

void DisplayWindow::createLeds() {
    for (Field& field : fields_) {
        const FieldDesc& f = *field.desc;
        if (f.kind != Kind::LedTemp && f.kind != Kind::LedPlain) continue;
        auto control = platform::CreateObject(kLedProgId, this);
        if (!control) continue;  // library missing: the place stays empty
        // Saved properties of the window's definition.
        control->readProperties(
            {{QStringLiteral("Text"),
              f.kind == Kind::LedTemp ? QStringLiteral("0.0") : QStringLiteral("0")},
             {QStringLiteral("AutoResize"), false},
             {QStringLiteral("LEDColour"), 1}});
        control->setExtent(QSize(platform::twips(f.ledWidth), control->extent().height()));
        QWidget* w = control->widget();
        w->setObjectName(QStringLiteral("Led1_%1").arg(f.led));
        w->setAccessibleDescription(QString::fromUtf8(f.caption));
        field.value = w;
        field.caption->setBuddy(w);
        Led1[std::size_t(f.led)] = std::move(control);
    }
}

void DisplayWindow::layoutControls() {
    // Column widths from the captions and values they hold.
    int captionWidth[2] = {0, 0};
    int valueWidth[2] = {0, 0};
    int rows[2] = {0, 0};  // by block
    bool ledRows[2] = {false, false};
    const int ledHeight = (683 + platform::kTwipsPerPixel - 1) / platform::kTwipsPerPixel;
    for (const Field& field : fields_) {
        const FieldDesc& f = *field.desc;
        const int c = f.column;
        captionWidth[c] = std::max(captionWidth[c], advance(field.caption, field.caption->text()));
        int w = kValueWidth;
        if (f.kind == Kind::LedTemp || f.kind == Kind::LedPlain) w = f.ledWidth;
        if (f.kind == Kind::Lot) w = kLotWidth;
        if (field.suffix) w += 6 + advance(field.suffix, field.suffix->text());
        valueWidth[c] = std::max(valueWidth[c], w);
        const int b = int(f.block);
        rows[b] = std::max(rows[b], f.row + 1);
        if (f.kind != Kind::Label && f.kind != Kind::Lot) ledRows[b] = true;
    }
    const int columnWidth[2] = {captionWidth[0] + kCaptionGap + valueWidth[0],
                                captionWidth[1] + kCaptionGap + valueWidth[1]};

    // State line: "Estado :" in the left column, "Fase :" in the right one.
    int longestPhase = advance(Label26, QStringLiteral("Iniciando Ciclo"));
    for (const char* p : desc_->phases)
        if (p) longestPhase = std::max(longestPhase, advance(Label26, QString::fromUtf8(p)));
    if (desc_->phaseBeyond)
        longestPhase =
            std::max(longestPhase, advance(Label26, QString::fromUtf8(desc_->phaseBeyond)));
    const int stateCaption = advance(Label27, Label27->text()) + 8;
    const int stateWidth = std::max(advance(Label28, QStringLiteral("Operando")),
                                    advance(Label28, QStringLiteral("Parado"))) +
                           8;
    const int phaseCaption = advance(Label25, Label25->text()) + 8;

    // Buttons: the cycle buttons, "Aborta Ciclo", then "Ok" at the right; in two rows
    // when one is too narrow.
    auto buttonWidth = [](QPushButton* b) {
        return std::max(kMinButtonWidth, advance(b, b->text()) + 32);
    };
    int cycleWidth = 0;
    for (auto& [row, b] : buttons_) cycleWidth = std::max(cycleWidth, buttonWidth(b));
    const int n = int(buttons_.size());
    const int abortWidth = buttonWidth(Command3);
    const int okWidth = buttonWidth(Command1);
    const int cyclesRow = n * cycleWidth + (n - 1) * kButtonGap;
    const int oneRow = cyclesRow + kButtonGap + abortWidth + 3 * kButtonGap + okWidth;

    const int leftWidth = std::max(columnWidth[0], stateCaption + stateWidth);
    const int rightWidth = std::max(columnWidth[1], phaseCaption + longestPhase);
    // The warning stands on one line; the buttons in one row unless that makes the
    // window much wider.
    const int warningLine = advance(Label15, Label15->text()) + 2 * 28;
    int width = std::max({kMinWidth, kMargin + leftWidth + kColumnGap + rightWidth + kMargin,
                          warningLine + 2 * kMargin});
    const bool twoRows = n > 1 && oneRow + 2 * kMargin > width + kButtonSlack;
    width = std::max(width, (twoRows ? cyclesRow : oneRow) + 2 * kMargin);
    // The right column ends at the right margin.
    const int columnX[2] = {kMargin, width - kMargin - rightWidth};

    int y = 14;
    const int headerHeight = QFontMetrics(Label11->font()).height() + 6;
    const int label11Width = advance(Label11, Label11->text()) + 6;
    place(Label11, kMargin, y, label11Width, headerHeight);
    place(Label1, kMargin + label11Width, y, 60, headerHeight);
    y += headerHeight + 8;

    const int stateHeight = QFontMetrics(Label28->font()).height() + 6;
    place(Label27, columnX[0], y, stateCaption, stateHeight);
    place(Label28, columnX[0] + stateCaption, y, stateWidth, stateHeight);
    place(Label25, columnX[1], y, phaseCaption, stateHeight);
    place(Label26, columnX[1] + phaseCaption, y, width - kMargin - columnX[1] - phaseCaption,
          stateHeight);
    y += stateHeight + 10;

    place(makeRule(this), kMargin, y, width - 2 * kMargin, 2);
    y += 12;

    auto placeBlock = [&](Block block, int top) {
        const int b = int(block);
        const int rowHeight = ledRows[b] ? ledHeight + kLedGapBelow : kLabelRow;
        for (const Field& field : fields_) {
            const FieldDesc& f = *field.desc;
            if (f.block != block) continue;
            const int x = columnX[f.column];
            const int rowTop = top + f.row * rowHeight;
            // Values end at the right of their column: the right margin, or the gap
            // before the right column.
            const int valueX = f.column == 0 ? columnX[1] - kColumnGap - valueWidth[0]
                                             : width - kMargin - valueWidth[1];
            int h = kValueHeight;
            int w = kValueWidth;
            if (f.kind == Kind::LedTemp || f.kind == Kind::LedPlain) {
                h = ledHeight;
                w = f.ledWidth;
            } else if (f.kind == Kind::Lot) {
                h = kValueHeight + 2;
                w = valueWidth[f.column];
            }
            const int valueY = rowTop + (rowHeight - (ledRows[b] ? kLedGapBelow : 0) - h) / 2;
            place(field.caption, x, valueY, valueX - kCaptionGap - x, h);
            if (field.value) {
                if (f.kind == Kind::LedTemp || f.kind == Kind::LedPlain)
                    field.value->move(valueX, valueY);  // the panel keeps its own size
                else
                    place(field.value, valueX, valueY, w, h);
            }
            if (field.suffix)
                place(field.suffix, valueX + w + 6, valueY,
                      advance(field.suffix, field.suffix->text()) + 4, h);
        }
        return rows[b] * rowHeight;
    };

    if (rows[int(Block::Process)] > 0) y += placeBlock(Block::Process, y) + 10;
    const int headingHeight = QFontMetrics(Label10->font()).height() + 4;
    place(Label10, kMargin, y, advance(Label10, Label10->text()) + 8, headingHeight);
    {
        // A rule runs from the heading to the right edge.
        const int start = kMargin + advance(Label10, Label10->text()) + 14;
        place(makeRule(this), start, y + headingHeight / 2, width - kMargin - start, 2);
    }
    y += headingHeight + 6;
    y += placeBlock(Block::Temperatures, y) + 10;

    const int warningWidth = width - 2 * kMargin;
    const int warningHeight = std::max(Label15->heightForWidth(warningWidth), 28);
    place(Label15, kMargin, y, warningWidth, warningHeight);
    y += warningHeight + 14;

    int x = kMargin;
    for (auto& [row, b] : buttons_) {
        place(b, x, y, cycleWidth, kButtonHeight);
        x += cycleWidth + kButtonGap;
    }
    if (twoRows) {
        y += kButtonHeight + kButtonGap;
        x = kMargin;
    }
    place(Command3, x, y, abortWidth, kButtonHeight);
    place(Command1, width - kMargin - okWidth, y, okWidth, kButtonHeight);
    y += kButtonHeight + kMargin;

    setFixedSize(width, y);
}

void DisplayWindow::loadWindow() {
    platform::centreOnScreen(this);
    Timer1.start();
    Timer1_Timer();  // the window opens with the slot's present values
}

void DisplayWindow::unloadWindow() {
    Timer1.stop();
}

QPushButton* DisplayWindow::button(const QString& name) const {
    for (const auto& [row, b] : buttons_)
        if (b->objectName() == name) return b;
    return nullptr;
}

QLabel* DisplayWindow::label(const QString& name) const {
    return findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
}

QString DisplayWindow::shown(const QString& fieldName) const {
    for (const Field& field : fields_) {
        const FieldDesc& f = *field.desc;
        if (QString::fromLatin1(f.name) != fieldName) continue;
        switch (f.kind) {
            case Kind::Label:
                return static_cast<QLabel*>(field.value)->text();
            case Kind::Lot:
                return Text1->text();
            case Kind::LedTemp:
            case Kind::LedPlain:
                if (const auto& led = Led1[std::size_t(f.led)]) {
                    try {
                        return led->get(platform::DISPID_TEXT).toString();
                    } catch (const platform::ComError&) {
                    }
                }
                return {};
        }
    }
    return {};
}

void DisplayWindow::Timer1_Timer() {
    const int slot = SelectedSlot;
    setIfChanged(Label1, QString::number(slot));
    if (!validSlot(slot)) return;

    const bool running = CycleStatus[slot] != kStoppedCode;
    showRunState(running);
    if (!running) {
        setIfChanged(Label26, QStringLiteral(" "));
    } else if (const QString name = phaseName(*desc_, CyclePhase[slot]); !name.isEmpty()) {
        setIfChanged(Label26, name);
    }

    if (Text1) refreshLot(running, slot);

    for (const Field& field : fields_) {
        const FieldDesc& f = *field.desc;
        switch (f.kind) {
            case Kind::Label:
                setIfChanged(static_cast<QLabel*>(field.value),
                             fieldText(f, sourceValue(f.source, slot)));
                break;
            case Kind::LedTemp:
                setLedText(f.led, ledTemperatureText(int(sourceValue(f.source, slot))));
                break;
            case Kind::LedPlain:
                setLedText(f.led, ledPlainText(sourceValue(f.source, slot)));
                break;
            case Kind::Lot:
                break;
        }
    }
}

void DisplayWindow::showRunState(bool running) {
    if (runState_ == int(running)) return;
    runState_ = int(running);
    Label28->setText(running ? QStringLiteral("Operando") : QStringLiteral("Parado"));
    QPalette p = Label28->palette();
    p.setColor(QPalette::WindowText, running ? kRunning : kStopped);
    Label28->setPalette(p);
}

void DisplayWindow::refreshLot(bool running, int slot) {
    if (Text1->isEnabled() == running) Text1->setEnabled(!running);
    if (!running) return;
    // Characters 2 to 11: the lot after its "L", pad spaces included.
    QString lot = LotRecord[slot].mid(1, kLotChars);
    lot.remove(QChar(0));  // no lot typed yet
    if (Text1->text() != lot) Text1->setText(lot);
}

void DisplayWindow::setLedText(int member, const QString& text) {
    const auto& led = Led1[std::size_t(member)];
    if (!led) return;
    try {
        // The control repaints only when the text changed.
        led->put(platform::DISPID_TEXT, text);
    } catch (const platform::ComError&) {
    }
}

void DisplayWindow::Command1_Click() {
    unloadSelf();
}

void DisplayWindow::Command3_Click() {
    if (!validSlot(SelectedSlot)) return;
    EnviaComando(kAbortCode);  // runs events: this window may be gone when it returns
}

void DisplayWindow::CycleButton_Click(const ButtonDesc& b) {
    const int slot = SelectedSlot;
    if (!validSlot(slot)) return;
    // A start that the running exchange will refuse leaves the stored lot alone.
    if (b.storesLot && Text1 && !Troca::running())
        LotRecord[slot] =
            (QStringLiteral("L") + Text1->text()).leftJustified(kLotLength, ' ', true);
    EnviaComando(b.code);  // runs events: this window may be gone when it returns
}

}  // namespace displays
