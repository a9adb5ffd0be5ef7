#pragma once

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <csignal>
#include <vector>

// The desktop's default application for folders, in a test's own XDG
// folders: the program fake_file_manager (FakeFileManager.cpp), which
// `gio open` starts for a folder, as a desktop opens one in its file
// manager. The programs it started end with the object.
class FakeFileManager {
public:
    // Whether gio, which opens folders, is installed (libglib2.0-bin).
    static bool isAvailable() { return !QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty(); }

    // Made the default for folders for the programs that run with
    // environment() and these XDG data and config folders.
    FakeFileManager(const QString& dataHome, const QString& configHome) {
        QDir().mkpath(dataHome + QStringLiteral("/applications"));
        QDir().mkpath(configHome);
        write(dataHome + QStringLiteral("/applications/tavlin-test-files.desktop"),
              QStringLiteral("[Desktop Entry]\nType=Application\nName=Files\nExec=%1 %f\n"
                             "MimeType=inode/directory;\nNoDisplay=true\n")
                  .arg(QStringLiteral(FAKE_FILE_MANAGER)));
        write(configHome + QStringLiteral("/mimeapps.list"),
              QStringLiteral("[Default Applications]\ninode/directory=tavlin-test-files.desktop\n"));
    }
    ~FakeFileManager() {
        for (const Start& start : starts()) ::kill(pid_t(start.pid), SIGTERM);
    }
    FakeFileManager(const FakeFileManager&) = delete;
    FakeFileManager& operator=(const FakeFileManager&) = delete;

    // For the environment of the program that opens folders ("NAME=value").
    QStringList environment() const { return {QStringLiteral("TAVLIN_FAKE_FILE_MANAGER_LOG=") + logPath()}; }

    struct Start {
        qint64 pid = 0;
        QString folder;
    };
    // Each start so far, in order.
    std::vector<Start> starts() const {
        std::vector<Start> found;
        QFile log(logPath());
        if (!log.open(QIODevice::ReadOnly)) return found;
        for (const QString& line : QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts))
            found.push_back({line.section(u' ', 0, 0).toLongLong(), line.section(u' ', 1)});
        return found;
    }

private:
    QString logPath() const { return directory_.filePath(QStringLiteral("starts.log")); }
    static void write(const QString& path, const QString& text) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
    }

    QTemporaryDir directory_;
};
