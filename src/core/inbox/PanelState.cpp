#include "PanelState.h"

void PanelState::setExpanded(bool expanded)
{
    if (!write(m_expanded, expanded, &PanelState::expandedChanged))
        return;
    setGeometryProfile(NotchMotion::profileForExpandedChange());
    m_hooks.geometry();
    hoverStateChanged();
}

void PanelState::setPinned(bool pinned)
{
    if (write(m_pinned, pinned, &PanelState::pinnedChanged))
        hoverStateChanged();
}

void PanelState::setFocusHoldsOpen(bool hold)
{
    write(m_focusHoldsOpen, hold, &PanelState::focusHoldsOpenChanged);
}

void PanelState::setReaderTucked(bool tucked)
{
    if (!write(m_readerTucked, tucked, &PanelState::readerTuckedChanged))
        return;
    setGeometryProfile(NotchMotion::profileForReaderTuckedChange(m_expanded));
    m_hooks.geometry();
}

void PanelState::setGeometryProfile(GeometryProfile profile)
{
    write(m_geometryProfile, profile, &PanelState::geometryProfileChanged);
}

void PanelState::setNotchWidth(double width)
{
    writeShaping(m_notchWidth, width, &PanelState::notchWidthChanged);
}

void PanelState::setTopInset(double inset)
{
    writeShaping(m_topInset, inset, &PanelState::topInsetChanged);
}

void PanelState::setHasNotch(bool hasNotch)
{
    writeShaping(m_hasNotch, hasNotch, &PanelState::hasNotchChanged);
}

void PanelState::setKeepsTab(bool keepsTab)
{
    writeShaping(m_keepsTab, keepsTab, &PanelState::keepsTabChanged);
}

void PanelState::hoverStateChanged()
{
    if (m_onHoverStateChange)
        m_onHoverStateChange();
}

void PanelState::open()
{
    setExpanded(true);
    if (m_onOpen)
        m_onOpen();
}

void PanelState::close()
{
    setFocusHoldsOpen(false);
    setPinned(false);
    m_hooks.deselect();
    setExpanded(false);
}

bool PanelState::closeFromOutsideClick(int clickCount)
{
    if (clickCount < 2 && (m_focusHoldsOpen || m_hooks.selecting()))
        return false;
    close();
    return true;
}

void PanelState::selectionChanged()
{
    setReaderTucked(false);
    setGeometryProfile(NotchMotion::profileForSelectionChange(m_expanded));
}
