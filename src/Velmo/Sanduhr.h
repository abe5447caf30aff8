#pragma once

#include <QGuiApplication>

// Shows the busy cursor for as long as it lives, also when a handler ends
// with an error.
struct Sanduhr
{
    Sanduhr() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sanduhr() { QGuiApplication::restoreOverrideCursor(); }
    Sanduhr(const Sanduhr &) = delete;
    Sanduhr &operator=(const Sanduhr &) = delete;
};
