#pragma once

#include <QtTest>

// The value of column `name` in the current data row, where a QFETCH
// variable would only be read once.
template<class T>
T Spalte(const char *name)
{
    return *static_cast<T *>(QTest::qData(name, ::qMetaTypeId<T>()));
}
