// A stand-in main window until the application shell exists.
#include "Placeholder.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <clocale>

int RunPlaceholderApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Numbers in files are always written in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Draftwerk"));
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("File"));
    QAction* quit = file->addAction(QStringLiteral("Quit"));
    QObject::connect(quit, &QAction::triggered, &app, &QApplication::quit);
    window.setCentralWidget(new QLabel(QStringLiteral("Draftwerk"), &window));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
