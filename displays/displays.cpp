#include "displays/displays.h"

#include "displays/forms.h"

namespace displays {

namespace {

struct Entry {
    DisplayWindow* (*get)();
    bool (*loaded)();
    void (*unload)();
};

template <class Form>
constexpr Entry entry() {
    return {[]() -> DisplayWindow* { return &Form::get(); }, &Form::loaded, &Form::unload};
}

// By model code.
constexpr Entry kForms[] = {
    {},
    entry<Form8>(),
    entry<Form5>(),
    entry<Form4>(),
    entry<form15>(),
    entry<Form40>(),
    entry<form18>(),
    entry<form20>(),
};

const Entry* find(int model) {
    return model >= 1 && model <= 7 ? &kForms[model] : nullptr;
}

}  // namespace

DisplayWindow* Display(int model) {
    const Entry* e = find(model);
    return e ? e->get() : nullptr;
}

bool DisplayLoaded(int model) {
    const Entry* e = find(model);
    return e && e->loaded();
}

void UnloadDisplay(int model) {
    if (const Entry* e = find(model)) e->unload();
}

}  // namespace displays

void InstallDisplayOpeners() {
    for (int model = 1; model <= 7; ++model) {
        ZUNO1::DisplayOpeners[std::size_t(model)] = [model] {
            displays::DisplayWindow* w = displays::Display(model);
            w->show();
            w->raise();
            w->activateWindow();
            w->Timer1_Timer();  // an open window shows the newly chosen slot at once
        };
    }
}
