#include "platform/dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

QString AppTitle = QStringLiteral("ZUNO");

namespace {

std::unique_ptr<DialogService>& current() {
    static std::unique_ptr<DialogService> service;
    if (!service) service = std::make_unique<QtDialogs>();
    return service;
}

QString titleOr(const QString& title) {
    return title.isEmpty() ? AppTitle : title;
}

}  // namespace

Answer QtDialogs::message(const QString& text, Buttons buttons, Icon icon, const QString& title) {
    QMessageBox box;
    box.setWindowTitle(titleOr(title));
    box.setText(text);
    switch (icon) {
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case Icon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::None:
            break;
    }
    // Portuguese whatever the system language.
    QPushButton* ok = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* cancel = nullptr;
    switch (buttons) {
        case Buttons::Ok:
            ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            break;
        case Buttons::OkCancel:
            ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            cancel = box.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
            break;
        case Buttons::YesNo:
            yes = box.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
            no = box.addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
            box.setEscapeButton(no);
            break;
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked && clicked == yes) return Answer::Yes;
    if (clicked && clicked == no) return Answer::No;
    if (clicked && clicked == ok) return Answer::Ok;
    if (clicked && clicked == cancel) return Answer::Cancel;
    return buttons == Buttons::YesNo ? Answer::No
           : buttons == Buttons::Ok  ? Answer::Ok
                                     : Answer::Cancel;
}

QString QtDialogs::input(const QString& prompt, const QString& title, const QString& defaultText) {
    QInputDialog dlg;
    dlg.setWindowTitle(titleOr(title));
    dlg.setLabelText(prompt);
    dlg.setTextValue(defaultText);
    dlg.setOkButtonText(QStringLiteral("OK"));
    dlg.setCancelButtonText(QStringLiteral("Cancelar"));
    dlg.setOption(QInputDialog::NoButtons, false);
    if (QLabel* l = dlg.findChild<QLabel*>()) l->setWordWrap(true);
    if (dlg.exec() != QDialog::Accepted) return {};
    return dlg.textValue();
}

void QtDialogs::beep() {
    QApplication::beep();
}

Answer ScriptedDialogs::message(const QString& text, Buttons buttons, Icon icon,
                                const QString& title) {
    shown.append({Shown::Message, text, titleOr(title), icon, buttons, {}});
    if (!answers.isEmpty()) return answers.takeFirst();
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::OkCancel:
            return Answer::Cancel;
    }
    return Answer::Ok;
}

QString ScriptedDialogs::input(const QString& prompt, const QString& title,
                               const QString& defaultText) {
    shown.append(
        {Shown::Input, prompt, titleOr(title), Icon::None, Buttons::OkCancel, defaultText});
    return inputs.isEmpty() ? QString() : inputs.takeFirst();
}

void ScriptedDialogs::beep() {
    shown.append({Shown::Beep, {}, {}, Icon::None, Buttons::Ok, {}});
}

QList<ScriptedDialogs::Shown> ScriptedDialogs::messages() const {
    QList<Shown> out;
    for (const Shown& s : shown)
        if (s.kind == Shown::Message) out.append(s);
    return out;
}

void setDialogService(std::unique_ptr<DialogService> service) {
    current() = service ? std::move(service) : std::make_unique<QtDialogs>();
}

DialogService& dialogs() {
    return *current();
}

ScriptedDialogs& useScriptedDialogs() {
    auto scripted = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs& ref = *scripted;
    setDialogService(std::move(scripted));
    return ref;
}

Answer MsgBox(const QString& text, Buttons buttons, Icon icon, const QString& title) {
    return dialogs().message(text, buttons, icon, title);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    return dialogs().input(prompt, title, defaultText);
}

void Beep() {
    dialogs().beep();
}

}  // namespace platform
