#pragma once
// The seven display windows, one per controller model.
#include "displays/displaywindow.h"

class Form8 final : public displays::DisplayForm<Form8, ZUNO1::KVS> {
    friend class platform::SingleForm<Form8, displays::DisplayWindow>;
    Form8() = default;
};

class Form5 final : public displays::DisplayForm<Form5, ZUNO1::PRXT> {
    friend class platform::SingleForm<Form5, displays::DisplayWindow>;
    Form5() = default;
};

class Form4 final : public displays::DisplayForm<Form4, ZUNO1::GZO1> {
    friend class platform::SingleForm<Form4, displays::DisplayWindow>;
    Form4() = default;
};

class form15 final : public displays::DisplayForm<form15, ZUNO1::TERMA> {
    friend class platform::SingleForm<form15, displays::DisplayWindow>;
    form15() = default;
};

class Form40 final : public displays::DisplayForm<Form40, ZUNO1::GZO2> {
    friend class platform::SingleForm<Form40, displays::DisplayWindow>;
    Form40() = default;
};

class form18 final : public displays::DisplayForm<form18, ZUNO1::RT58HW> {
    friend class platform::SingleForm<form18, displays::DisplayWindow>;
    form18() = default;
};

class form20 final : public displays::DisplayForm<form20, ZUNO1::GZONEO> {
    friend class platform::SingleForm<form20, displays::DisplayWindow>;
    form20() = default;
};

namespace displays {

// The window of model 1..7, loaded (not shown) on first use; nullptr for other codes.
DisplayWindow* Display(int model);
bool DisplayLoaded(int model);
void UnloadDisplay(int model);

}  // namespace displays
