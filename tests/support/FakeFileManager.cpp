// A stand-in for the desktop's file manager, for tests of what Tavlin opens
// in it: one plain window titled "Files" for the folder it is given, which
// takes the keyboard as a newly started program's window does. Each start
// is noted (process id and folder, one line) in the file that
// TAVLIN_FAKE_FILE_MANAGER_LOG names. It ends by itself after a minute,
// should its test not end it.

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The window's WM_CLASS class, which listings name it by.
    QApplication::setApplicationName(QStringLiteral("FakeFiles"));
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    QFile log(qEnvironmentVariable("TAVLIN_FAKE_FILE_MANAGER_LOG"));
    if (log.open(QIODevice::Append))
        log.write(QByteArray::number(QCoreApplication::applicationPid()) + ' ' + folder.toUtf8() + '\n');
    log.close();

    QWidget window;
    window.setWindowTitle(QStringLiteral("Files"));
    window.resize(360, 240);
    window.show();
    window.activateWindow();
    QTimer::singleShot(60'000, &app, &QCoreApplication::quit);
    return QApplication::exec();
}
