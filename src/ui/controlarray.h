#pragma once
// A control array: elements by index, created on demand with Load and never destroyed while
// the window exists, so a routine that yielded can always return into them.

#include "runtimeerror.h"

#include <QWidget>

#include <map>
#include <memory>

namespace hollenby::ui {

template <class T>
class ControlArray
{
public:
    // The array starts with the one element `first` at `index`.
    ControlArray(int index, std::unique_ptr<T> first) { m_elements.emplace(index, std::move(first)); }

    bool exists(int index) const { return m_elements.count(index) != 0; }

    T& operator()(int index) const
    {
        const auto found = m_elements.find(index);
        if (found == m_elements.end())
            throw RuntimeError::ControlArrayElementMissing();
        return *found->second;
    }

    int LBound() const { return m_elements.begin()->first; }
    int UBound() const { return m_elements.rbegin()->first; }
    int Count() const { return static_cast<int>(m_elements.size()); }

    // Creates element `index` in the lowest element's container, hidden and otherwise with the
    // lowest element's properties. Fails with error 360 when the element exists.
    T& Load(int index)
    {
        if (exists(index))
            throw RuntimeError::ObjectAlreadyLoaded();
        const T& lowest = *m_elements.begin()->second;
        auto element = std::make_unique<T>(lowest.widget()->parentWidget(), lowest.unitsPerPixel());
        element->copyFrom(lowest);
        return *m_elements.emplace(index, std::move(element)).first->second;
    }

    // Load, treating an element that exists already as the one to use.
    T& LoadOrGet(int index)
    {
        if (exists(index))
            return (*this)(index);
        return Load(index);
    }

    template <class F>
    void forEach(F&& f) const
    {
        for (const auto& [index, element] : m_elements)
            f(index, *element);
    }

private:
    std::map<int, std::unique_ptr<T>> m_elements;
};

} // namespace hollenby::ui
