#pragma once
// The property page of VantaLed: its text, and a picture that opens the about dialog.
#include <QList>
#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;

namespace vantaled {

class VantaLed;

class PropertyPage1 : public QWidget {
    Q_OBJECT
  public:
    explicit PropertyPage1(QWidget* parent = nullptr);

    // The designer's selection; txtText takes the first control's Text.
    void SelectionChanged(const QList<VantaLed*>& controls);
    // Typed into since the last selection or apply.
    bool Changed() const { return changed_; }
    // The first selected control's Text becomes txtText's.
    void ApplyChanges();

    QLabel* lblText = nullptr;
    QLineEdit* txtText = nullptr;
    QLabel* Picture1 = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void Picture1_Click();

    QList<QPointer<VantaLed>> selected_;
    bool changed_ = false;
};

}  // namespace vantaled
