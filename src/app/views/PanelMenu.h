#pragma once

#include <QMenu>
#include <QObject>
#include <QQuickItem>
#include <QPointF>
#include <QPointer>
#include <QVariant>
#include <QtQml/qqmlregistration.h>


// A menu of the panel's views, shown as a real popup window, so that it takes clicks wherever it is drawn,
// beyond the surface's input region and beyond the panel. Entries are maps with "text" and "value", and
// optionally "checked" (a check mark), "swatch" (a "#rrggbb" colour dot), "separator" (a divider),
// "enabled" and "entries" (a submenu). Choosing an entry emits triggered() with its value.
//
// Every menu's opening and closing is announced on activity(), which the shell watches to hold hover and
// outside clicks while a menu is open.
class PanelMenu : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool open READ isOpen NOTIFY openChanged)
public:
    explicit PanelMenu(QObject *parent = nullptr);
    ~PanelMenu() override;

    // Opens under `anchor`, aligned to its left edge.
    Q_INVOKABLE void popup(QQuickItem *anchor, const QVariantList &entries);
    // Opens at a point of `item` (a context menu at the pointer).
    Q_INVOKABLE void popupAt(QQuickItem *item, QPointF point, const QVariantList &entries);
    Q_INVOKABLE void close();

    bool isOpen() const { return m_menu != nullptr; }
    // The open menu (for tests), or null.
    QMenu *menu() const { return m_menu; }

    // Emits began() and ended() around every panel menu.
    class Activity;
    static Activity &activity();

Q_SIGNALS:
    void triggered(const QVariant &value);
    void openChanged();

private:
    void show(QPoint globalPosition, const QVariantList &entries);
    void fill(QMenu &menu, const QVariantList &entries);

    QPointer<QMenu> m_menu;
};

class PanelMenu::Activity : public QObject
{
    Q_OBJECT
public:
    // The menus open now (for tests).
    QList<PanelMenu *> openMenus() const { return m_open; }

Q_SIGNALS:
    void began();
    void ended();

private:
    friend class PanelMenu;
    QList<PanelMenu *> m_open;
};
