#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorlo"));
    QLabel window(QStringLiteral("Quorlo"));
    window.setWindowTitle(QStringLiteral("Quorlo"));
    window.resize(371, 299);
    window.show();
    return app.exec();
}
