#pragma once

#include <functional>
#include <memory>

// An object made the first time it is used, such as a dialog the user may
// never open or a panel the start does not show: the program starts without
// building it.
template<class T>
class BeiBedarf
{
public:
    explicit BeiBedarf(std::function<std::unique_ptr<T>()> erzeugen)
        : Erzeugen(std::move(erzeugen))
    {
    }

    T *get()
    {
        if (!Objekt)
            Objekt = Erzeugen();
        return Objekt.get();
    }
    T *operator->() { return get(); }
    T &operator*() { return *get(); }
    operator T *() { return get(); }
    // The object if it has been made; this makes none.
    T *Gebaut() const { return Objekt.get(); }

private:
    std::function<std::unique_ptr<T>()> Erzeugen;
    std::unique_ptr<T> Objekt;
};
