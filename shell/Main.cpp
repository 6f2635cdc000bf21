// Sarnova's program entry: the Qt application and its main window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Sarnova");
    QMainWindow window;
    window.setWindowTitle("Sarnova");
    window.resize(1024, 768);
    window.show();
    return app.exec();
}
