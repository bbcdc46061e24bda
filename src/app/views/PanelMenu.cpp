#include "PanelMenu.h"

#include "SymbolImageProvider.h"

#include <QColor>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QQuickItem>
#include <QQuickWindow>
#include <QVariantMap>

namespace {

QIcon swatchIcon(const QColor &color, qreal ratio)
{
    // 12 x 12, the dot inset by 1 on every side.
    QPixmap pixmap(QSize(12, 12) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QRectF(1, 1, 10, 10));
    return QIcon(pixmap);
}

} // namespace

PanelMenu::Activity &PanelMenu::activity()
{
    static Activity hub;
    return hub;
}

PanelMenu::PanelMenu(QObject *parent) : QObject(parent) {}

PanelMenu::~PanelMenu()
{
    close();
}

void PanelMenu::popup(QQuickItem *anchor, const QVariantList &entries)
{
    if (!anchor)
        return;
    show(anchor->mapToGlobal(QPointF(0, anchor->height())).toPoint(), entries);
}

void PanelMenu::popupAt(QQuickItem *item, QPointF point, const QVariantList &entries)
{
    if (!item)
        return;
    show(item->mapToGlobal(point).toPoint(), entries);
}

void PanelMenu::close()
{
    if (m_menu)
        m_menu->close();
}

void PanelMenu::fill(QMenu &menu, const QVariantList &entries)
{
    const qreal ratio = menu.devicePixelRatioF();
    for (const QVariant &item : entries) {
        const QVariantMap entry = item.toMap();
        if (entry.value(QStringLiteral("separator")).toBool()) {
            menu.addSeparator();
            continue;
        }
        // Titles are shown as they are: an ampersand is no mnemonic marker here.
        QString text = entry.value(QStringLiteral("text")).toString();
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QVariantList children = entry.value(QStringLiteral("entries")).toList();
        if (!children.isEmpty()) {
            QMenu *submenu = menu.addMenu(text);
            fill(*submenu, children);
            continue;
        }
        QAction *action = menu.addAction(text);
        action->setEnabled(entry.value(QStringLiteral("enabled"), true).toBool());
        if (entry.value(QStringLiteral("checked")).toBool())
            action->setIcon(SymbolImageProvider::icon(QStringLiteral("checkmark"), menu.palette().text().color(), 16));
        const QString swatch = entry.value(QStringLiteral("swatch")).toString();
        if (!swatch.isEmpty())
            action->setIcon(swatchIcon(QColor(swatch), ratio));
        const QVariant value = entry.value(QStringLiteral("value"));
        connect(action, &QAction::triggered, this, [this, value] { Q_EMIT triggered(value); });
    }
}

void PanelMenu::show(QPoint globalPosition, const QVariantList &entries)
{
    close();
    auto *menu = new QMenu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    fill(*menu, entries);
    m_menu = menu;
    Activity &hub = activity();
    hub.m_open.append(this);
    connect(menu, &QMenu::aboutToHide, this, [this, menu] {
        if (m_menu == menu)
            m_menu = nullptr;
        Activity &hub = activity();
        if (hub.m_open.removeOne(this)) {
            Q_EMIT openChanged();
            Q_EMIT hub.ended();
        }
    });
    Q_EMIT openChanged();
    Q_EMIT hub.began();
    menu->popup(globalPosition);
}
