#include "platform/printer.h"

#include <QPrintDialog>
#include <QPrinter>

namespace platform {

QPrinter& Printer() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

bool ShowPrinterSetup(QWidget* parent) {
    QPrintDialog dialog(&Printer(), parent);
    dialog.setWindowTitle(QStringLiteral("Configurar Impressora"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace platform
