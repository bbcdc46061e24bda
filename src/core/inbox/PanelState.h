#pragma once

#include "notch/NotchMotion.h"

#include <QObject>

#include <functional>

// The panel's own state: open or collapsed, pinned open, held open by a focus, the reader tucked into its
// short form, the screen around the notch, and the motion profile of the next geometry change. The hover
// logic hears of every change that bears on it; the geometry follows every change that shapes the surface.
// Main thread only.
class PanelState : public QObject
{
    Q_OBJECT

public:
    using GeometryProfile = NotchMotion::Profile;

    struct Hooks
    {
        // A value the surface geometry depends on changed.
        std::function<void()> geometry;
        // Something is selected.
        std::function<bool()> selecting;
        // Drops the selection.
        std::function<void()> deselect;
    };

    explicit PanelState(Hooks hooks) : m_hooks(std::move(hooks)) {}

    bool expanded() const { return m_expanded; }
    void setExpanded(bool expanded);
    bool pinned() const { return m_pinned; }
    void setPinned(bool pinned);
    bool focusHoldsOpen() const { return m_focusHoldsOpen; }
    void setFocusHoldsOpen(bool hold);
    bool readerTucked() const { return m_readerTucked; }
    void setReaderTucked(bool tucked);
    GeometryProfile geometryProfile() const { return m_geometryProfile; }
    void setGeometryProfile(GeometryProfile profile);
    double notchWidth() const { return m_notchWidth; }
    void setNotchWidth(double width);
    double topInset() const { return m_topInset; }
    void setTopInset(double inset);
    bool hasNotch() const { return m_hasNotch; }
    void setHasNotch(bool hasNotch);
    bool keepsTab() const { return m_keepsTab; }
    void setKeepsTab(bool keepsTab);

    void setOnHoverStateChange(std::function<void()> callback) { m_onHoverStateChange = std::move(callback); }
    void setOnOpen(std::function<void()> callback) { m_onOpen = std::move(callback); }
    // Tells the hover logic that something it reads changed.
    void hoverStateChanged();

    void open();
    // Collapses the panel: nothing holds it open and nothing stays selected.
    void close();
    // An outside click: a double click always closes; a single one only when neither a focus nor a
    // selection holds the panel open. Returns whether it closed.
    bool closeFromOutsideClick(int clickCount);
    // The selection changed: the reader shows in full, moving as a selection change does.
    void selectionChanged();

Q_SIGNALS:
    void expandedChanged();
    void pinnedChanged();
    void focusHoldsOpenChanged();
    void readerTuckedChanged();
    void geometryProfileChanged();
    void notchWidthChanged();
    void topInsetChanged();
    void hasNotchChanged();
    void keepsTabChanged();

private:
    // Stores a value; returns whether that changed it, after notifying `changed`.
    template <class T>
    bool write(T &field, T value, void (PanelState::*changed)())
    {
        if (field == value)
            return false;
        field = value;
        Q_EMIT(this->*changed)();
        return true;
    }
    // Stores a value the surface's shape depends on; the geometry follows a change.
    template <class T>
    void writeShaping(T &field, T value, void (PanelState::*changed)())
    {
        if (write(field, value, changed))
            m_hooks.geometry();
    }

    Hooks m_hooks;
    GeometryProfile m_geometryProfile = GeometryProfile::entrance;
    bool m_expanded = false;
    bool m_pinned = false;
    bool m_focusHoldsOpen = false;
    bool m_readerTucked = false;
    double m_notchWidth = 180.0;
    double m_topInset = 32.0;
    bool m_hasNotch = false;
    bool m_keepsTab = false;
    std::function<void()> m_onHoverStateChange;
    std::function<void()> m_onOpen;
};
