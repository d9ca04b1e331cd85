#pragma once
// The program's windows: each exists at most once, is created on first use, and after it was
// unloaded the next use gives a fresh window that loads again (the unloaded one is deleted once
// control is back in the event loop).

#include "core/formbase.h"

#include <QList>
#include <QString>
#include <type_traits>
#include <typeindex>

namespace hb {

namespace detail {
Form *registeredForm(std::type_index type);
void registerForm(std::type_index type, Form *form);
void formLoaded(Form *form);
void formUnloaded(Form *form);
}  // namespace detail

// The window of type T: the current one, or a new one when there is none or it was unloaded.
template <class T>
T &form()
{
    static_assert(std::is_base_of_v<Form, T>, "a window derives from hb::Form");
    if (Form *f = detail::registeredForm(typeid(T)))
        return static_cast<T &>(*f);
    T *created = new T();
    detail::registerForm(typeid(T), created);
    return *created;
}

// True when a loaded window has exactly this object name (case-sensitive).
bool IsFormLoaded(const QString &name);
// The loaded windows in the order they were loaded.
QList<Form *> loadedForms();
// Unloads every loaded window, the last loaded first (EndApp).
void unloadAll();
// Deletes every window the registry made, without events (program end, tests).
void destroyForms();

}  // namespace hb
