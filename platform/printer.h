#pragma once
class QPrinter;
class QWidget;

namespace platform {

// The program's printer: the default printer until the setup dialog or a test
// chooses another, or a PDF file.
QPrinter& Printer();
// Print setup dialog (printer choice, paper, PDF file). Returns true when accepted.
bool ShowPrinterSetup(QWidget* parent);

}  // namespace platform
