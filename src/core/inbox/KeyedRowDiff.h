#pragma once

#include <QList>
#include <QSet>

// Turns a list model's rows into the wanted rows by removals, moves, insertions and data changes, keeping
// every row whose key stays (so its delegate, hover state and scroll position stay too). The model passes
// its own begin/end calls in `ops`:
//   remove(row), move(from, to), insert(row, value): around the change of `rows`;
//   changed(row): after a row that stayed was replaced by a value that displays differently.
// `key(row)` names a row; `same(a, b)` tells whether two rows of one key display alike (equal rows are
// still replaced, silently, so the stored values are the newest).
template <typename Remove, typename Move, typename Insert, typename Changed>
struct RowOps
{
    Remove remove;
    Move move;
    Insert insert;
    Changed changed;
};
template <typename Remove, typename Move, typename Insert, typename Changed>
RowOps(Remove, Move, Insert, Changed) -> RowOps<Remove, Move, Insert, Changed>;

template <typename Row, typename Key, typename Same, typename Ops>
void applyKeyedDiff(QList<Row> &rows, const QList<Row> &wanted, Key key, Same same, Ops &&ops)
{
    using KeyType = std::decay_t<decltype(key(wanted.front()))>;
    QSet<KeyType> wantedKeys;
    wantedKeys.reserve(wanted.size());
    for (const Row &row : wanted)
        wantedKeys.insert(key(row));

    // Rows that leave.
    for (qsizetype row = rows.size() - 1; row >= 0; --row) {
        if (!wantedKeys.contains(key(rows.at(row))))
            ops.remove(int(row));
    }
    // Rows that stay move into place; new rows are inserted where they belong.
    for (qsizetype row = 0; row < wanted.size(); ++row) {
        const KeyType wantedKey = key(wanted.at(row));
        if (row < rows.size() && key(rows.at(row)) == wantedKey) {
            const bool alike = same(rows.at(row), wanted.at(row));
            rows[row] = wanted.at(row);
            if (!alike)
                ops.changed(int(row));
            continue;
        }
        qsizetype from = -1;
        for (qsizetype candidate = row + 1; candidate < rows.size(); ++candidate) {
            if (key(rows.at(candidate)) == wantedKey) {
                from = candidate;
                break;
            }
        }
        if (from >= 0) {
            ops.move(int(from), int(row));
            const bool alike = same(rows.at(row), wanted.at(row));
            rows[row] = wanted.at(row);
            if (!alike)
                ops.changed(int(row));
        } else {
            ops.insert(int(row), wanted.at(row));
        }
    }
}
