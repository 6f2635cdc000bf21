// Sarnova's program entry: the Qt application and its main window.
#include <QApplication>
#include <QMainWindow>

#include "foundation/DuZezOride.h"

int main(int argc, char* argv[]) {
    sarnova::InitializeProgramFolders(argc > 0 ? argv[0] : "");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Sarnova");
    QMainWindow window;
    window.setWindowTitle("Sarnova");
    window.resize(1024, 768);
    window.show();
    return app.exec();
}
