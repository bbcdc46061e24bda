#pragma once

#include "KeyedRowDiff.h"

#include <QAbstractListModel>
#include <QList>

// A list model whose rows keep their identity by key: `showKeyed` turns the rows on show into the wanted
// ones through the model's own row signals (removals, moves, insertions, data changes), never by a reset.
class KeyedListModel : public QAbstractListModel
{
protected:
    using QAbstractListModel::QAbstractListModel;

    // Turns `rows` (the model's storage) into `wanted`; see applyKeyedDiff for `key` and `same`. True when
    // the number of rows changed.
    template <typename Row, typename Key, typename Same>
    bool showKeyed(QList<Row> &rows, const QList<Row> &wanted, Key key, Same same)
    {
        const qsizetype before = rows.size();
        applyKeyedDiff(rows, wanted, key, same,
                       RowOps{[this, &rows](int row) {
                                  beginRemoveRows({}, row, row);
                                  rows.removeAt(row);
                                  endRemoveRows();
                              },
                              [this, &rows](int from, int to) {
                                  beginMoveRows({}, from, from, {}, to);
                                  rows.move(from, to);
                                  endMoveRows();
                              },
                              [this, &rows](int row, const Row &value) {
                                  beginInsertRows({}, row, row);
                                  rows.insert(row, value);
                                  endInsertRows();
                              },
                              [this](int row) { Q_EMIT dataChanged(index(row), index(row)); }});
        return rows.size() != before;
    }
};
