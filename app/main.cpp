#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/wiring.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "supervisor/form1.h"
#include "supervisor/zuno1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZUNO"));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    // Qt's own dialogs (print setup, file dialogs) in Portuguese whatever the system.
    QTranslator qtPortuguese;
    if (qtPortuguese.load(QStringLiteral("qtbase_pt_BR"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtPortuguese);
    platform::preparePrefix();
    ZUNO1::resetSlotTable();
    ConnectWindows();
    Form1& main = Form1::get();
    if (Form1::programEnded()) return 0;
    main.show();
    return app.exec();
}
