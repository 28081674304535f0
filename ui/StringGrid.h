// A grid of text cells whose first column is fixed: drawn like a header, it
// can be neither selected nor edited. The cell being edited reports every
// change the user makes to its text (each character typed or deleted, each
// paste or cut) with its column, row and whole new text; text the program
// puts into a cell is not reported. A change the handler refuses is undone in
// the cell at once.
#pragma once

#include <QTableWidget>

#include <functional>

class StringGrid : public QTableWidget {
    Q_OBJECT

  public:
    // Gives back false to refuse the change.
    using EditHandler = std::function<bool(int column, int row, const QString& text)>;
    using EditEndHandler = std::function<void()>;
    using RefusalHandler = std::function<void()>;

    StringGrid(int columns, QWidget* parent = nullptr);

    void SetEditHandler(EditHandler handler) { onEdit_ = std::move(handler); }
    // Called once editing of a cell has ended, whichever way it ended.
    void SetEditEndHandler(EditEndHandler handler) { onEditEnd_ = std::move(handler); }
    // Called after a refused change has been undone in the cell (to tell the user why).
    void SetRefusalHandler(RefusalHandler handler) { onRefusal_ = std::move(handler); }

    // Switches in-place editing of the value cells on or off.
    void SetEditing(bool on);
    bool Editing() const { return editing_; }
    // The text of a cell; empty when it holds none.
    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString& text);
    // Row heights of all rows, at 96 dots per inch.
    void SetRowHeight96(int height) { rowHeight96_ = height; }
    void SetRowCount(int rows);

    // Ends an edit in progress, keeping the text typed.
    void EndEdit();
    // The editor of the cell being edited, if any.
    QWidget* ActiveEditor() const;

    // Called by the cell editor.
    bool ReportEdit(int column, int row, const QString& text);
    void ReportRefusal();

  protected slots:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    EditHandler onEdit_;
    EditEndHandler onEditEnd_;
    RefusalHandler onRefusal_;
    bool editing_ = false;
    int rowHeight96_ = 18;
};
