#pragma once
// The list of one group's items (LoginItemsListModel): rows are dragged as
// moves and dropped between rows; files from outside come in as copies.
//
// Every drop goes to the model, which carries out the whole move as one
// edit. QListView would otherwise move rows it dragged itself one by one
// through moveRows, and treat a drop next to the first dragged row as done
// without moving the others.
#include <QListView>

class LoginItemsListView : public QListView {
    Q_OBJECT
public:
    explicit LoginItemsListView(QWidget* parent = nullptr);

protected:
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QModelIndexList selectedIndexes() const override;

private:
    // QAbstractItemView refuses its own rows anywhere over a selected row,
    // even at its edges, where the drop goes between rows (next to the
    // first of two dragged rows, say). Rows here take no drops onto them,
    // so while a drag move is judged the selection is left out.
    bool m_judgingDragMove = false;
};
