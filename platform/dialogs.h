#pragma once
// Message boxes, input boxes and the beep go through one replaceable service.
#include <QList>
#include <QString>
#include <memory>

class QWidget;

namespace platform {

enum class Buttons { Ok, YesNo, OkCancel };
enum class Icon { None, Question, Warning, Information, Critical };
enum class Answer { Ok, Yes, No, Cancel };

// Title used when a dialog is given none.
extern QString AppTitle;

class DialogService {
  public:
    virtual ~DialogService() = default;
    virtual Answer message(const QString& text, Buttons buttons, Icon icon,
                           const QString& title) = 0;
    // Empty text on Cancel.
    virtual QString input(const QString& prompt, const QString& title,
                          const QString& defaultText) = 0;
    virtual void beep() = 0;
};

// Real Qt dialogs with Portuguese buttons.
class QtDialogs : public DialogService {
  public:
    Answer message(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
    QString input(const QString& prompt, const QString& title, const QString& defaultText) override;
    void beep() override;
};

// For tests: answers from a queue, records everything shown.
class ScriptedDialogs : public DialogService {
  public:
    struct Shown {
        enum Kind { Message, Input, Beep } kind;
        QString text;
        QString title;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        QString defaultText;
    };
    QList<Answer> answers;  // when empty: Ok for Ok boxes, No for Yes/No, Cancel for OkCancel
    QList<QString> inputs;  // when empty: Cancel (empty text)
    QList<Shown> shown;

    Answer message(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
    QString input(const QString& prompt, const QString& title, const QString& defaultText) override;
    void beep() override;
    QList<Shown> messages() const;
};

// Installs a service; the previous one is destroyed. nullptr restores the Qt dialogs.
void setDialogService(std::unique_ptr<DialogService> service);
DialogService& dialogs();
// Installs a fresh scripted service and returns it (owned by the platform).
ScriptedDialogs& useScriptedDialogs();

Answer MsgBox(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
              const QString& title = {});
QString InputBox(const QString& prompt, const QString& title = {}, const QString& defaultText = {});
void Beep();

}  // namespace platform
