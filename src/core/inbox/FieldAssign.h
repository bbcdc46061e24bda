#pragma once

#include <utility>

// Stores a value in an observed field; tells whether that changed it (an equal value is not written, so
// nobody is notified).
template <class T, class U>
bool assignChanged(T &field, U &&value)
{
    if (field == value)
        return false;
    field = std::forward<U>(value);
    return true;
}
