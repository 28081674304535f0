#include "StringGrid.h"

#include "DpiScale.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace {

const char* const kAcceptedText = "acceptedText";

// The in-place editor: a line edit that reports every user change to the grid
// and puts back the last accepted text when a change is refused.
class CellDelegate : public QStyledItemDelegate {
  public:
    explicit CellDelegate(StringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        const int column = index.column();
        const int row = index.row();
        StringGrid* grid = grid_;
        QObject::connect(editor, &QLineEdit::textEdited, editor,
                         [grid, editor, column, row](const QString& text) {
                             if (grid->ReportEdit(column, row, text)) {
                                 editor->setProperty(kAcceptedText, text);
                                 return;
                             }
                             const QString back = editor->property(kAcceptedText).toString();
                             const int cursor = editor->cursorPosition();
                             editor->setText(back);
                             editor->setCursorPosition(std::min<int>(cursor, back.size()));
                             grid->ReportRefusal();
                         });
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        QStyledItemDelegate::setEditorData(editor, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setProperty(kAcceptedText, line->text());
    }

  private:
    StringGrid* grid_;
};

} // namespace

StringGrid::StringGrid(int columns, QWidget* parent) : QTableWidget(0, columns, parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setShowGrid(true);
    setWordWrap(false);
    setItemDelegate(new CellDelegate(this));
    SetEditing(false);
}

void StringGrid::SetEditing(bool on) {
    editing_ = on;
    setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                             QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                       : QAbstractItemView::NoEditTriggers);
}

QString StringGrid::Cell(int column, int row) const {
    const QTableWidgetItem* it = item(row, column);
    return it != nullptr ? it->text() : QString();
}

void StringGrid::SetCell(int column, int row, const QString& text) {
    QTableWidgetItem* it = item(row, column);
    if (it == nullptr) {
        it = new QTableWidgetItem;
        if (column == 0) {
            it->setFlags(Qt::ItemIsEnabled);
            it->setBackground(palette().button());
            it->setForeground(palette().buttonText());
        } else {
            it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        }
        setItem(row, column, it);
    }
    it->setText(text);
}

void StringGrid::SetRowCount(int rows) {
    setRowCount(rows);
    for (int r = 0; r < rows; ++r)
        setRowHeight(r, Scaled(rowHeight96_));
}

QWidget* StringGrid::ActiveEditor() const {
    if (state() != QAbstractItemView::EditingState)
        return nullptr;
    return indexWidget(currentIndex());
}

void StringGrid::EndEdit() {
    if (QWidget* editor = ActiveEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

bool StringGrid::ReportEdit(int column, int row, const QString& text) {
    return onEdit_ ? onEdit_(column, row, text) : true;
}

void StringGrid::ReportRefusal() {
    if (onRefusal_)
        onRefusal_();
}

void StringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // Moving on to edit the next cell would start an edit on rows the handler may be about to
    // refill; the user picks the next cell instead.
    if (hint == QAbstractItemDelegate::EditNextItem ||
        hint == QAbstractItemDelegate::EditPreviousItem)
        hint = QAbstractItemDelegate::NoHint;
    QTableWidget::closeEditor(editor, hint);
    if (onEditEnd_)
        onEditEnd_();
}
