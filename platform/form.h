#pragma once
// Single-instance windows: get() loads on first reference without showing,
// show() shows or brings forward, unload() destroys; the next get() loads anew.
#include <QCloseEvent>
#include <QWidget>

namespace platform {

constexpr int kTwipsPerPixel = 15;
constexpr int px(int twips) {
    return twips / kTwipsPerPixel;
}
constexpr int twips(int pixels) {
    return pixels * kTwipsPerPixel;
}

// Geometry of a control or window in twips.
void setTwipsGeometry(QWidget* w, int left, int top, int width, int height);
// Moves a top-level window so that (screen - window) * fraction is left free on the top left.
void placeOnScreen(QWidget* w, double fraction);
inline void centreOnScreen(QWidget* w) {
    placeOnScreen(w, 0.5);
}
// Available screen size in twips.
QSize screenTwips();

template <class Derived, class Base = QWidget>
class SingleForm : public Base {
  public:
    static Derived& get() {
        if (!instance_) {
            instance_ = new Derived();
            instance_->setAttribute(Qt::WA_DeleteOnClose);
            instance_->Form_Load();
        }
        return *instance_;
    }
    static bool loaded() { return instance_ != nullptr; }
    static void unload() {
        if (Derived* w = instance_) {
            instance_ = nullptr;
            w->Form_Unload();
            delete w;
        }
    }
    void show() {
        Base::show();
        Base::raise();
        Base::activateWindow();
    }

  protected:
    SingleForm() = default;
    ~SingleForm() override {
        if (instance_ == static_cast<Derived*>(this)) instance_ = nullptr;
    }
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    void closeEvent(QCloseEvent* e) override {
        // Closing from the frame is an unload; WA_DeleteOnClose deletes after this.
        if (instance_ == static_cast<Derived*>(this)) {
            instance_ = nullptr;
            Form_Unload();
        }
        e->accept();
    }

  private:
    static inline Derived* instance_ = nullptr;
};

}  // namespace platform
