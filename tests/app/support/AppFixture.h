#pragma once

#include "app/TMainForm.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <QTimer>

#include <memory>

// A main window started as the program starts it, on a fresh configuration folder made from the
// delivered defaults.
struct StartedWindow {
    // The delivered data folder, or another one (a copy that lacks a file).
    explicit StartedWindow(const QStringList& arguments = {}, const QString& dataFolder = {});
    QTemporaryDir folder;
    std::unique_ptr<korvex::app::TMainForm> form;
    QString ConfigFolder() const { return folder.filePath(QStringLiteral("config/")); }
};

// Answers the modal boxes that come up while it lives, and keeps their texts.
class BoxAnswerer : public QObject {
  public:
    // The button a question gets: OK, or Cancel when `cancel` is set.
    explicit BoxAnswerer(bool cancel = false);
    QStringList Texts;

  private:
    QTimer timer_;
    bool cancel_;
};

// The named widget below `parent`; a test without it cannot go on.
template <typename T> T* child(QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no widget %s", name);
    return found;
}

// The window's one area of type T (a page, a dialog, the job document): tests reach it as the
// window holds it, not through accessors kept for them.
template <typename T> T& Area(QObject& window) {
    T* found = window.findChild<T*>();
    if (!found) qFatal("no %s", T::staticMetaObject.className());
    return *found;
}

// The delivered files the program reads beside its executable.
QString DataFile(const QString& name);

// Runs a program and returns its exit status, with standard output and error.
struct ProcessResult {
    int Status = -1;
    QByteArray Out;
    QByteArray Err;
    qint64 Milliseconds = 0;
};
ProcessResult RunProgram(const QString& program, const QStringList& arguments, const QString& home);

QByteArray ReadAll(const QString& file);
