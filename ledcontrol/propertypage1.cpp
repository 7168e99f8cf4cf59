#include "ledcontrol/propertypage1.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "ledcontrol/fdlgabout.h"
#include "ledcontrol/glyphs.h"
#include "ledcontrol/vantaled.h"

namespace vantaled {

PropertyPage1::PropertyPage1(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Properties"));
    lblText = new QLabel(QStringLiteral("Text:"), this);
    txtText = new QLineEdit(this);
    lblText->setBuddy(txtText);
    Picture1 = new QLabel(this);
    Picture1->setPixmap(
        QPixmap::fromImage(makeBadge(QSize(94, 84), QStringLiteral("LED"), 4, LedColour::Green)));
    Picture1->setFixedSize(94, 84);
    Picture1->setCursor(Qt::PointingHandCursor);
    Picture1->setToolTip(QStringLiteral("About"));
    Picture1->setAccessibleName(QStringLiteral("About"));
    Picture1->installEventFilter(this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblText, 0, 0);
    grid->addWidget(txtText, 1, 0);
    grid->addWidget(Picture1, 0, 1, 3, 1, Qt::AlignTop);
    grid->setRowStretch(2, 1);
    grid->setColumnMinimumWidth(0, 220);

    connect(txtText, &QLineEdit::textEdited, this, [this] { changed_ = true; });
}

void PropertyPage1::SelectionChanged(const QList<VantaLed*>& controls) {
    selected_.clear();
    for (VantaLed* c : controls) selected_.append(c);
    txtText->setText(controls.isEmpty() ? QString() : controls.first()->Text());
    changed_ = false;
}

void PropertyPage1::ApplyChanges() {
    if (!selected_.isEmpty() && selected_.first()) selected_.first()->setText(txtText->text());
    changed_ = false;
}

bool PropertyPage1::eventFilter(QObject* watched, QEvent* e) {
    if (watched == Picture1 && e->type() == QEvent::MouseButtonRelease) {
        Picture1_Click();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

// Modal; unloaded and released once closed.
void PropertyPage1::Picture1_Click() {
    QPointer<fdlgAbout> about = new fdlgAbout(this);
    about->exec();
    delete about;
}

}  // namespace vantaled
