#pragma once

#include <QUrl>

// The shell's open command, behind an interface so tests can record calls.
class Shell
{
public:
    virtual ~Shell() = default;
    // Opens an address (web page or local file) with its default program;
    // false when the desktop has no program to open it with.
    virtual bool open(const QUrl &address) = 0;

    // The desktop's own shell.
    static Shell &desktop();
};
