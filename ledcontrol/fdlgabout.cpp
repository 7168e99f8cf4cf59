#include "ledcontrol/fdlgabout.h"

#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "ledcontrol/glyphs.h"
#include "ledcontrol/vantaledctl.h"

namespace vantaled {

namespace {

const char* const kNotice =
    "Vanta Software LED Control is made and maintained by Vanta Software.\n"
    "Copyright (C) Vanta Software. All rights reserved.\n"
    "This control may be distributed freely with the programs that use it.\n"
    "It is provided as is, without warranty of any kind.";

// A number as general text with a blank where a sign would stand.
QString numberText(double v) {
    const QString s = QString::number(v, 'g', 15);
    return v < 0 ? s : QLatin1Char(' ') + s;
}

}  // namespace

std::optional<MemoryStatus> parseMemInfo(const QByteArray& meminfo, QString* error) {
    std::optional<quint64> total, avail, free, swapTotal, swapFree;
    for (const QByteArray& line : meminfo.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon < 0) continue;
        const QByteArray key = line.left(colon);
        QByteArray value = line.mid(colon + 1).trimmed();
        quint64 scale = 1;
        if (value.endsWith(" kB")) {
            value.chop(3);
            scale = 1024;
        }
        bool ok = false;
        const quint64 n = value.trimmed().toULongLong(&ok) * scale;
        if (!ok) continue;
        if (key == "MemTotal")
            total = n;
        else if (key == "MemAvailable")
            avail = n;
        else if (key == "MemFree")
            free = n;
        else if (key == "SwapTotal")
            swapTotal = n;
        else if (key == "SwapFree")
            swapFree = n;
    }
    if (!avail) avail = free;
    if (!total || !avail || !swapTotal || !swapFree) {
        if (error) *error = QStringLiteral("The memory status of this computer cannot be read.");
        return std::nullopt;
    }
    return MemoryStatus{*total, *avail, *swapTotal, *swapFree};
}

QString memoryText(const MemoryStatus& m) {
    auto k = [](quint64 bytes) { return numberText(double(bytes) / 1024); };
    return QStringLiteral("Physical RAM: ") + k(m.totalPhys) + QStringLiteral("k (") +
           k(m.availPhys) + QStringLiteral("k available)\nSwapfile: ") + k(m.totalPageFile) +
           QStringLiteral("k (") + k(m.availPageFile) + QStringLiteral("k available)");
}

fdlgAbout::fdlgAbout(QWidget* parent, const QString& memInfoPath) : QDialog(parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    picture = new QLabel(this);
    picture->setPixmap(
        QPixmap::fromImage(makeBadge(QSize(94, 84), QStringLiteral("LED"), 4, LedColour::Green)));
    picture->setFixedSize(94, 84);

    lblTitle = new QLabel(this);
    QFont f = lblTitle->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    lblTitle->setFont(f);
    QPalette blue = lblTitle->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 0xc0));
    lblTitle->setPalette(blue);

    lblAbout = new QLabel(this);
    lblAbout->setTextFormat(Qt::PlainText);
    lblAbout->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setToolTip(QStringLiteral("Press to continue"));
    cmdOK->setDefault(true);
    cmdOK->setMinimumWidth(90);
    cmdOK->setStyleSheet(QStringLiteral(
        "QPushButton { background-color: #ffb4b4; color: black; border: 1px solid #a05050;"
        " border-radius: 3px; padding: 5px 20px; }"
        "QPushButton:pressed { background-color: #f08c8c; }"
        "QPushButton:focus { border: 2px solid #703030; }"));
    connect(cmdOK, &QPushButton::clicked, this, &fdlgAbout::cmdOK_Click);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 14, 14, 14);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);
    grid->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop | Qt::AlignLeft);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblAbout, 1, 1);
    grid->addWidget(cmdOK, 2, 1, Qt::AlignRight);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load(memInfoPath);
}

void fdlgAbout::Form_Load(const QString& memInfoPath) {
    const QString product = QString::fromUtf8(kProductName);
    setWindowTitle(QStringLiteral("About ") + product);
    lblAbout->setToolTip(windowTitle());
    lblTitle->setText(product + QStringLiteral(" Version Number ") + versionNumber());

    QString error;
    std::optional<MemoryStatus> memory;
    QFile file(memInfoPath);
    if (file.open(QIODevice::ReadOnly))
        memory = parseMemInfo(file.readAll(), &error);
    else
        error = file.errorString();

    if (memory) {
        lblAbout->setText(memoryText(*memory) + QStringLiteral("\n\n") +
                          QString::fromUtf8(kNotice));
    } else {
        lblAbout->setText(QString::fromUtf8(kNotice));
        QMessageBox::warning(this, product, error);
    }
}

void fdlgAbout::cmdOK_Click() {
    accept();
}

}  // namespace vantaled
