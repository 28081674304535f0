#include "KestrumGP4Info.h"

#include "DpiScale.h"
#include "GP4Info.h"
#include "KestrumVar.h"
#include "Messages.h"
#include "QtUi.h"
#include "StringGrid.h"
#include "UiGuard.h"

#include <QFrame>
#include <QPushButton>
#include <QShowEvent>

#include <algorithm>
#include <cstdio>

namespace {

// Blanks and control characters at both ends left out.
bool IsBlank(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

QPushButton* MakeButton(const char* caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

TFEditGP4info::TFEditGP4info(QWidget* parent)
    : QDialog(parent), BSave(MakeButton(msg::kSaveButton, "BSave", this)),
      BCancel(MakeButton(msg::kButtonCancel, "BCancel", this)), SGGP4Info(new StringGrid(2, this)),
      BAdd(MakeButton(msg::kAddButton, "BAdd", this)),
      BDelete(MakeButton(msg::kDeleteButton, "BDelete", this)), Bevel1(new QFrame(this)) {
    setObjectName(QStringLiteral("FEditGP4info"));
    setWindowTitle(QString::fromUtf8(msg::kEditGP4info));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    SGGP4Info->setObjectName(QStringLiteral("SGGP4Info"));
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);

    PlaceAt(BSave, 260, 190, 60, 21);
    PlaceAt(BCancel, 196, 190, 60, 21);
    PlaceAt(SGGP4Info, 8, 8, 313, 161);
    PlaceAt(BAdd, 8, 190, 60, 21);
    PlaceAt(BDelete, 72, 190, 60, 21);
    // The line runs along the bottom edge of its 9-pixel band.
    PlaceAt(Bevel1, 8, 179, 313, 2);
    FixClientSize(this, 330, 219);
    FitFontToCaptions(this, {BSave, BCancel, BAdd, BDelete});
    setTabOrder(BSave, BCancel);
    setTabOrder(BCancel, SGGP4Info);
    setTabOrder(SGGP4Info, BAdd);
    setTabOrder(BAdd, BDelete);

    connect(BSave, &QPushButton::clicked, this, [this] { BSaveClick(); });
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BAdd, &QPushButton::clicked, this, [this] { Guarded([this] { BAddClick(); }); });
    connect(BDelete, &QPushButton::clicked, this, [this] { Guarded([this] { BDeleteClick(); }); });
    SGGP4Info->SetEditHandler([this](int column, int row, const QString& text) {
        return SGGP4InfoSetEditText(column, row, text);
    });
    SGGP4Info->SetRefusalHandler(
        [] { Ui().ShowMessage(MessageType::Plain, msg::kUnstorableText); });
    SGGP4Info->SetEditEndHandler([this] { EditEnded(); });

    FormCreate();
}

void TFEditGP4info::FormCreate() {
    SGGP4Info->setColumnWidth(0, Scaled(100));
    SGGP4Info->setColumnWidth(1, Scaled(186));
}

void TFEditGP4info::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        CenterOnScreen(this);
        FormShow();
    }
    QDialog::showEvent(event);
}

void TFEditGP4info::FormShow() {
    editedName_.reset();
    kestrum::GP4InfoList.Clear();
    try {
        if (!ReadGP4Info(TrackPath()))
            Ui().ShowMessage(MessageType::Plain, msg::kNoGP4Info);
    } catch (const std::exception& e) {
        // A read that failed part way shows no entries at all rather than some of them.
        kestrum::GP4InfoList.Clear();
        Ui().ShowError(e);
    }
    RefreshGrid();
}

void TFEditGP4info::RefreshGrid() {
    const NameValueList& list = kestrum::GP4InfoList;
    const int count = static_cast<int>(list.Count());
    const int current = SGGP4Info->currentRow();
    SGGP4Info->clearContents();
    SGGP4Info->SetRowCount(std::max(count, 1));
    for (int i = 0; i < count; ++i) {
        const std::string name = list.Names(static_cast<std::size_t>(i));
        SGGP4Info->SetCell(0, i, ToQt(name));
        SGGP4Info->SetCell(1, i, ToQt(list.Values(name)));
    }
    SGGP4Info->SetEditing(count > 0);
    if (count > 0)
        SGGP4Info->setCurrentCell(std::clamp(current, 0, count - 1), 1);
    UpdateButtons();
}

void TFEditGP4info::UpdateButtons() {
    const std::size_t count = kestrum::GP4InfoList.Count();
    BSave->setEnabled(count > 0);
    BDelete->setEnabled(count > 1);
}

void TFEditGP4info::BAddClick() {
    SGGP4Info->EndEdit();
    const std::string name = Ui().AskText(msg::kAddValueCaption, msg::kAddValuePrompt, "");
    if (!IsBlank(name)) {
        if (!IsStorableGP4InfoText(name)) {
            Ui().ShowMessage(MessageType::Plain, msg::kUnstorableText);
        } else if (kestrum::GP4InfoList.IndexOfName(name) >= 0) {
            char text[1024];
            std::snprintf(text, sizeof text, msg::kAlreadyDefined, name.c_str());
            Ui().ShowMessage(MessageType::Plain, text);
        } else {
            kestrum::GP4InfoList.Add(name + "=");
        }
    }
    RefreshGrid();
}

void TFEditGP4info::BDeleteClick() {
    SGGP4Info->EndEdit();
    NameValueList& list = kestrum::GP4InfoList;
    if (list.Count() <= 1)
        return;
    const int row = SGGP4Info->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= list.Count())
        return;
    list.Delete(static_cast<std::size_t>(row));
    RefreshGrid();
}

void TFEditGP4info::BSaveClick() {
    SGGP4Info->EndEdit();
    {
        BusyCursor busy;
        Guarded([this] { WriteGP4Info(TrackPath()); });
    }
    // Save closes the dialog whether or not the write went through.
    accept();
}

bool TFEditGP4info::SGGP4InfoSetEditText(int, int row, const QString& text) {
    const std::string value = FromQt(text);
    if (!IsStorableGP4InfoText(value))
        return false;
    NameValueList& list = kestrum::GP4InfoList;
    if (!editedName_) {
        if (row < 0 || static_cast<std::size_t>(row) >= list.Count())
            return true;
        editedName_ = list.Names(static_cast<std::size_t>(row));
    }
    list.SetValue(*editedName_, value);
    UpdateButtons();
    return true;
}

void TFEditGP4info::EditEnded() {
    if (!editedName_)
        return;
    editedName_.reset();
    RefreshGrid();
}
