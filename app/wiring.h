#pragma once

// Connects the main window's openers and hooks to the windows of the other folders.
void ConnectWindows();
