#pragma once
// The live display window shared by the seven models: run state, phase and measurements
// of SelectedSlot every 300 ms, and the buttons that start and abort cycles. The seven
// window classes are thin named types over it (displays/forms.h).
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "displays/description.h"
#include "platform/component.h"
#include "platform/form.h"

namespace displays {

inline const QString kLedProgId = QStringLiteral("VantaLEDCtl.VantaLed");

class DisplayWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kRefreshMs = 300;
    static constexpr int kLotChars = 10;

    // Controls, under their own names.
    QLabel* Label11 = nullptr;        // "Controlador :"
    QLabel* Label1 = nullptr;         // slot number
    QLabel* Label27 = nullptr;        // "Estado :"
    QLabel* Label28 = nullptr;        // "Operando" / "Parado"
    QLabel* Label25 = nullptr;        // "Fase :"
    QLabel* Label26 = nullptr;        // phase name
    QLabel* Label10 = nullptr;        // "Temperaturas Internas"
    QLabel* Label15 = nullptr;        // warning line
    QPushButton* Command1 = nullptr;  // "Ok"
    QPushButton* Command3 = nullptr;  // "Aborta Ciclo"
    QLineEdit* Text1 = nullptr;       // lot box (RT-58HW)
    // LED panels (RT-58HW); a member stays null when the control cannot be created.
    std::array<std::unique_ptr<platform::Control>, 7> Led1;
    QTimer Timer1;

    const ModelDesc& description() const { return *desc_; }
    // A cycle button by control name ("Command2"), or null.
    QPushButton* button(const QString& name) const;
    // A label by control name (values "Label2".."Label9", captions), or null.
    QLabel* label(const QString& name) const;
    // What a field shows now: a label's text, an LED panel's Text, the lot box's text.
    QString shown(const QString& fieldName) const;

    void Timer1_Timer();
    void Command1_Click();
    void Command3_Click();
    void CycleButton_Click(const ButtonDesc& button);

  protected:
    DisplayWindow();
    ~DisplayWindow() override;
    void build(const ModelDesc& desc);
    void loadWindow();
    void unloadWindow();
    virtual void unloadSelf() = 0;

  private:
    struct Field {
        const FieldDesc* desc;
        QLabel* caption = nullptr;
        QWidget* value = nullptr;  // QLabel, LED widget or lot box; null for a missing LED
        QLabel* suffix = nullptr;
    };
    void createControls();
    void createLeds();
    void layoutControls();
    void showRunState(bool running);
    void refreshLot(bool running, int slot);
    void setLedText(int member, const QString& text);

    const ModelDesc* desc_ = nullptr;
    std::vector<Field> fields_;
    std::vector<std::pair<const ButtonDesc*, QPushButton*>> buttons_;
    int runState_ = -1;  // shown: 0 "Parado", 1 "Operando", -1 nothing yet
};

// Single-instance window of one model.
template <class Derived, int Model>
class DisplayForm : public platform::SingleForm<Derived, DisplayWindow> {
  protected:
    friend class platform::SingleForm<Derived, DisplayWindow>;
    DisplayForm() { this->build(*describe(Model)); }
    void Form_Load() override { this->loadWindow(); }
    void Form_Unload() override { this->unloadWindow(); }
    void unloadSelf() override { Derived::unload(); }
};

}  // namespace displays
