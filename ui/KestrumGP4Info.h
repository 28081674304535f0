// The GP4info editor: the GP4info block of the track file named in the main
// window, as a two-column list of names and values, with Add, Delete and Save.
// Every showing reads the block afresh; nothing is written unless the user
// presses "Save ".
//
// Grid row i always shows entry i of the list once editing of a cell has
// ended: emptying a value removes its entry at once, and the grid is refilled
// when that cell's edit ends, so Delete, later edits and Save act on the
// entries the user sees.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QFrame;
class QPushButton;
class StringGrid;

class TFEditGP4info : public QDialog {
    Q_OBJECT

  public:
    using TrackPathSource = std::function<std::string()>;

    explicit TFEditGP4info(QWidget* parent = nullptr);

    // The track file the dialog works on, asked when it opens and when it saves.
    void SetTrackPathSource(TrackPathSource source) { trackPath_ = std::move(source); }

    QPushButton* BSave;
    QPushButton* BCancel;
    StringGrid* SGGP4Info;
    QPushButton* BAdd;
    QPushButton* BDelete;
    QFrame* Bevel1;

    void FormCreate();
    void FormShow();
    void RefreshGrid();
    void BAddClick();
    void BDeleteClick();
    void BSaveClick();
    // A change of the value cell in row; false refuses it.
    bool SGGP4InfoSetEditText(int column, int row, const QString& text);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    std::string TrackPath() const { return trackPath_ ? trackPath_() : std::string(); }
    void UpdateButtons();
    void EditEnded();

    TrackPathSource trackPath_;
    // The entry the cell being edited belongs to, fixed when its edit began, so that removing
    // and re-adding it keystroke by keystroke stays with the same name.
    std::optional<std::string> editedName_;
};
