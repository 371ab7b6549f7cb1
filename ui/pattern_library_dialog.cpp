#include "ui/pattern_library_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "config/parameters.h"
#include "patterns/library_commands.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_library.h"
#include "ui/help_window.h"
#include "ui/message_sink.h"
#include "ui/pattern_dialogs.h"
#include "ui/pattern_drag.h"
#include "ui/pattern_tiles.h"

namespace tessera::ui {
namespace {

// How often the window looks for patterns made or destroyed elsewhere (background loading).
constexpr int kFollowIntervalMs = 200;

bool IsLoaded(const CPatternLibrary* library) {
    for (CPatternLibrary* l = Libraries().First(); l; l = l->Next())
        if (l == library) return true;
    return false;
}

CPatternFilter LibraryFilter(int32_t number) {
    CPatternFilter filter;
    filter.library = number;
    return filter;
}

}  // namespace

CPatternLibraryDialog::CPatternLibraryDialog(CPatternLibrary& library, QWidget* parent)
    : QDialog(parent), library_(&library), number_(library.Number()), collection_(LibraryFilter(number_)) {
    setWindowTitle(QStringLiteral("Pattern Library ") + QString::fromStdString(library.DialogTitle()));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    tiles_ = new CTileWin(this);
    layout->addWidget(tiles_, 1);

    auto* groups = new QHBoxLayout;
    auto* pattern = new QGroupBox(QStringLiteral("Pattern"), this);
    auto* patternButtons = new QVBoxLayout(pattern);
    delete_ = new QPushButton(QStringLiteral("&Delete"), pattern);
    patternButtons->addWidget(delete_);
    auto* properties = new QPushButton(QStringLiteral("&Properties..."), pattern);
    patternButtons->addWidget(properties);
    // Enter never deletes: the default button is Close.
    delete_->setAutoDefault(false);
    properties->setAutoDefault(false);
    connect(properties, &QPushButton::clicked, this, [this] {
        if (CNamedPattern* entry = SelectedEntry()) {
            CPatternPropertiesDialog dialog(*entry, this);
            dialog.exec();
            FollowLibrary();
        }
    });
    groups->addWidget(pattern);

    auto* own = new QGroupBox(QStringLiteral("Library"), this);
    auto* ownLayout = new QHBoxLayout(own);
    auto* flags = new QVBoxLayout;
    readOnly_ = new QCheckBox(QStringLiteral("&Read Only"), own);
    preload_ = new QCheckBox(QStringLiteral("Load at &Start"), own);
    readOnly_->setChecked(library.IsReadOnly());
    preload_->setChecked(library.IsPreload());
    flags->addWidget(readOnly_);
    flags->addWidget(preload_);
    ownLayout->addLayout(flags);
    auto* libraryButtons = new QVBoxLayout;
    const auto button = [&](const char* text, void (CPatternLibraryDialog::*action)()) {
        auto* b = new QPushButton(QString::fromUtf8(text), own);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this,
                [this, action] { RunGuarded(this, [&] { (this->*action)(); }); });
        libraryButtons->addWidget(b);
        return b;
    };
    button("&Apply", &CPatternLibraryDialog::Apply);
    button("Sa&ve", &CPatternLibraryDialog::Save);
    button("Save &As...", &CPatternLibraryDialog::SaveAs);
    button("&Unload", &CPatternLibraryDialog::Unload);
    ownLayout->addLayout(libraryButtons);
    groups->addWidget(own);
    layout->addLayout(groups);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, [this] { OpenHelp(HelpPageFor(windowTitle())); });
    // F1 too, as in the other dialogs; the window stays modeless, so that patterns can be dragged out of it.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, help,
            &QPushButton::click);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(delete_, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { DeleteSelected(); }); });
    connect(tiles_, &CTileWin::selectionChanged, this, [this](int item) { delete_->setEnabled(item > 0); });
    tiles_->SetDragData([this](int item) -> QMimeData* {
        const CNamedPattern* entry = collection_.EntryAt(item);
        return entry ? PatternDragData(*entry) : nullptr;
    });
    connect(tiles_, &CTileWin::aboutToPaint, this, &CPatternLibraryDialog::FollowLibrary);
    auto* follow = new QTimer(this);
    connect(follow, &QTimer::timeout, this, &CPatternLibraryDialog::FollowLibrary);
    follow->start(kFollowIntervalMs);

    seenChanges_ = LibraryChangeCount();
    seenCount_ = NamedPatterns().Count();
    tiles_->SetCollection(&collection_, QSize(int(params::PatternTileWidth.GetUInt()),
                                              int(params::PatternTileHeight.GetUInt())));
    delete_->setEnabled(tiles_->Selected() > 0);
    const int tileWidth = int(params::PatternTileWidth.GetUInt());
    resize(7 * tileWidth, 7 * tileWidth);
}

CPatternLibraryDialog::~CPatternLibraryDialog() { tiles_->SetCollection(nullptr, {}); }

CPatternLibrary* CPatternLibraryDialog::Library() const { return IsLoaded(library_) ? library_ : nullptr; }

int CPatternLibraryDialog::SelectedItem() const { return tiles_->Selected(); }

void CPatternLibraryDialog::FollowLibrary() {
    if (!Library()) {
        tiles_->SetCollection(nullptr, {});
        close();
        return;
    }
    if (LibraryChangeCount() == seenChanges_ && NamedPatterns().Count() == seenCount_) return;
    collection_.SetFilter(LibraryFilter(number_));
    seenChanges_ = LibraryChangeCount();
    seenCount_ = NamedPatterns().Count();
    tiles_->Refresh();
    delete_->setEnabled(tiles_->Selected() > 0);
}

void CPatternLibraryDialog::DeleteSelected() {
    CNamedPattern* entry = SelectedEntry();
    if (entry && DeletePattern(*entry)) FollowLibrary();
}

void CPatternLibraryDialog::Apply() {
    if (CPatternLibrary* library = Library())
        ApplyLibraryFlags(*library, readOnly_->isChecked(), preload_->isChecked());
}

void CPatternLibraryDialog::Save() {
    if (CPatternLibrary* library = Library()) SaveLibrary(*library);
}

void CPatternLibraryDialog::SaveAs() {
    CPatternLibrary* library = Library();
    if (!library || !SaveLibraryAs(*library)) return;
    setWindowTitle(QStringLiteral("Pattern Library ") + QString::fromStdString(library->DialogTitle()));
}

void CPatternLibraryDialog::Unload() {
    CPatternLibrary* library = Library();
    if (!library) return;
    // Nothing may paint the library's patterns while they are destroyed.
    tiles_->SetCollection(nullptr, {});
    if (UnloadLibrary(*library) && !Library()) {
        close();
        return;
    }
    seenChanges_ = ~LibraryChangeCount();  // list again, whatever happened
    FollowLibrary();
    tiles_->SetCollection(&collection_, QSize(int(params::PatternTileWidth.GetUInt()),
                                              int(params::PatternTileHeight.GetUInt())));
}

CPatternLibraryDialog* OpenPatternLibraryDialog(QWidget* parent, int32_t number) {
    CPatternLibrary* library = FindLibrary(number);
    if (!library) return nullptr;
    CPatternLibraryDialog* dialog = nullptr;
    for (CPatternLibraryDialog* open :
         parent->findChildren<CPatternLibraryDialog*>(Qt::FindDirectChildrenOnly))
        if (open->Library() == library) dialog = open;
    if (!dialog) dialog = new CPatternLibraryDialog(*library, parent);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

}  // namespace tessera::ui
