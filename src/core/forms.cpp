#include "core/forms.h"

#include <QPointer>
#include <algorithm>
#include <map>

namespace hb {

namespace {

struct Slot {
    QPointer<Form> live;      // the window form<T>() hands out
    QPointer<Form> unloaded;  // the previous one, deleted when the next is made
};

struct Registry {
    std::map<std::type_index, Slot> bySlot;
    QList<QPointer<Form>> loaded;

    void prune()
    {
        loaded.removeIf([](const QPointer<Form> &f) { return f.isNull(); });
    }
};

Registry &registry()
{
    static Registry r;
    return r;
}

}  // namespace

namespace detail {

Form *registeredForm(std::type_index type)
{
    auto &bySlot = registry().bySlot;
    const auto it = bySlot.find(type);
    return it == bySlot.end() ? nullptr : it->second.live.data();
}

void registerForm(std::type_index type, Form *form)
{
    Slot &slot = registry().bySlot[type];
    // The unloaded window may still be on the stack (its own handler asked for a fresh one):
    // it goes once control is back in the event loop.
    if (slot.unloaded && !slot.unloaded->isLoaded())
        slot.unloaded->deleteLater();
    slot.unloaded = nullptr;
    slot.live = form;
}

void formLoaded(Form *form)
{
    Registry &r = registry();
    r.prune();
    if (!r.loaded.contains(form))
        r.loaded.append(form);
}

void formUnloaded(Form *form)
{
    Registry &r = registry();
    r.loaded.removeAll(form);
    r.prune();
    for (auto &entry : r.bySlot) {
        Slot &slot = entry.second;
        if (slot.live == form) {
            slot.unloaded = form;
            slot.live = nullptr;
        }
    }
}

}  // namespace detail

bool IsFormLoaded(const QString &name)
{
    for (Form *f : loadedForms()) {
        if (f->objectName() == name)
            return true;
    }
    return false;
}

QList<Form *> loadedForms()
{
    Registry &r = registry();
    r.prune();
    QList<Form *> out;
    for (const QPointer<Form> &f : r.loaded) {
        if (f->isLoaded())
            out << f.data();
    }
    return out;
}

void unloadAll()
{
    QList<QPointer<Form>> forms;
    for (Form *f : loadedForms())
        forms << f;
    std::reverse(forms.begin(), forms.end());
    for (const QPointer<Form> &f : forms) {
        if (f)
            f->Unload();
    }
}

void destroyForms()
{
    Registry &r = registry();
    QList<QPointer<Form>> all;
    for (auto &entry : r.bySlot) {
        all << entry.second.live << entry.second.unloaded;
    }
    r.bySlot.clear();
    for (const QPointer<Form> &f : all) {
        // A window parented to another (shown modally with an owner) may already be gone.
        if (f)
            delete f.data();
    }
    r.prune();
}

}  // namespace hb
