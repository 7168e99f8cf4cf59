#pragma once
// The main window: one row per controller slot, the menus, the serial port and the
// poll and minute timers.
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <array>

#include "platform/comm.h"
#include "platform/form.h"

class QAction;
class QMenu;

class Form1 : public platform::SingleForm<Form1, QMainWindow> {
    Q_OBJECT
  public:
    static constexpr int kReplyThreshold = 34;

    // Controls, under their own names.
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label8;
    QLabel* Label9;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command5;
    QPushButton* Command6;
    QPushButton* Command7;
    QPushButton* Command8;
    QPushButton* Command9;
    QPushButton* Command10;
    QPushButton* Command11;
    QPushButton* Command12;
    std::array<QLabel*, 6> Label5;  // status of slot index + 1
    QLabel* Label7;                 // slot being polled and clock
    QLabel* Label6;                 // last data file created (hidden)
    QLabel* LogWarning;             // records waiting for a writable folder
    QTimer Timer1;                  // poll
    QTimer Timer2;                  // minute logger
    platform::Comm Comm1;

    QMenu* file;
    QAction* SetImp;
    QAction* exit;
    QMenu* Rel;
    QAction* RelGraf;
    QAction* RelNum;
    QMenu* Config;
    QAction* Autoclaves;
    QAction* PortaSerial;
    QAction* atalho;
    QMenu* help;
    QAction* Ajuda;
    QAction* About;

    // The slot group of slot 1..6.
    QLabel* nameLabel(int slot) const { return names_[slot - 1]; }
    QPushButton* presetsButton(int slot) const { return presets_[slot - 1]; }
    QPushButton* estadoButton(int slot) const { return estados_[slot - 1]; }

    // Set when start-up gave up on the port or the operator confirmed leaving.
    static bool programEnded() { return ended_; }
    static void resetProgramEnded() { ended_ = false; }

    // Shows or clears the warning line (records waiting for their folder).
    void setLogWarning(const QString& text);

    void Timer1_Timer();
    void Timer2_Timer();
    void Comm1_OnComm();
    void EstadoClick(int slot);
    void PresetsClick(int slot);
    void SetImp_Click();
    void exit_Click();
    void atalho_Click();

  protected:
    friend class platform::SingleForm<Form1, QMainWindow>;
    Form1();
    void Form_Load() override;
    void Form_Unload() override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void buildMenus();
    bool confirmExit();
    void endProgram();
    bool openPort();
    void askPort();

    std::array<QLabel*, 6> names_;
    std::array<QPushButton*, 6> presets_;
    std::array<QPushButton*, 6> estados_;
    static inline bool ended_ = false;
};
