#pragma once
// Fills ZUNO1::DisplayOpeners with the display window of each model.
void InstallDisplayOpeners();
