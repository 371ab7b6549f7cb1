#include "ui/patterns_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "config/parameters.h"
#include "engine/growable_universe.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "patterns/apgcode.h"
#include "patterns/library_commands.h"
#include "patterns/library_loader.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern.h"
#include "patterns/pattern_library.h"
#include "rules/rule_notation.h"
#include "rules/rule_registry.h"
#include "rules/rules.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/message_sink.h"
#include "ui/pattern_dialogs.h"
#include "ui/pattern_drag.h"
#include "ui/pattern_library_dialog.h"
#include "ui/pattern_tiles.h"
#include "ui/qt_clipboard.h"
#include "ui/universe_window.h"

namespace tessera::ui {
namespace {

// The filter as the user last applied it, for the next opening.
struct CFilterMemory {
    CPatternFilter filter;
    QString size;
};
CFilterMemory& RememberedFilter() {
    static CFilterMemory memory;
    return memory;
}

// While libraries load, the window looks for new patterns this often.
constexpr int kFollowIntervalMs = 200;

QString RuleText(RuleCode code) {
    if (CRule* rule = FindRuleByCode(code)) return QString::fromStdString(DisplayName(*rule));
    return QString::fromStdString(FormatRule(code));
}

QString LibrariesSignature() {
    QString signature;
    for (CPatternLibrary* library = Libraries().First(); library; library = library->Next())
        signature += QString::number(library->Number()) + QString::fromStdString(library->FileName()) + '|';
    return signature;
}

enum EProperty { kLibrary, kType, kPeriod, kSpeedX, kSpeedY, kPopulation, kRule, kApgcode, kProperties };

}  // namespace

CPatternsDialog::CPatternsDialog(CMainWindow& main) : QDialog(&main), main_(main) {
    setWindowTitle(QStringLiteral("Patterns"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    BuildFilter(layout);

    tiles_ = new CTileWin(this);
    tiles_->setObjectName(QStringLiteral("patternTiles"));
    layout->addWidget(tiles_, 3);
    tiles_->setMinimumHeight(2 * (int(params::PatternTileHeight.GetUInt()) + TileTitleHeight() + 2));
    count_ = new QLabel(this);
    layout->addWidget(count_);

    details_ = new QTabWidget(this);
    details_->addTab(BuildPropertiesPage(), QStringLiteral("Properties"));
    transformTiles_ = new CTileWin(this);
    transformTiles_->setObjectName(QStringLiteral("transformTiles"));
    details_->addTab(transformTiles_, QStringLiteral("Transforms"));
    layout->addWidget(details_, 2);

    auto* buttons = new QDialogButtonBox(this);
    const auto button = [&](const char* text, QDialogButtonBox::ButtonRole role) {
        return buttons->addButton(QString::fromUtf8(text), role);
    };
    insert_ = button("&Insert", QDialogButtonBox::ActionRole);
    makeGame_ = button("&Make Game", QDialogButtonBox::ActionRole);
    QPushButton* copy = button("&Copy", QDialogButtonBox::ActionRole);
    delete_ = button("&Delete", QDialogButtonBox::ActionRole);
    showLibrary_ = button("&Library...", QDialogButtonBox::ActionRole);
    QPushButton* properties = button("&Edit Properties...", QDialogButtonBox::ActionRole);
    button("Close", QDialogButtonBox::RejectRole);
    QPushButton* help = button("&Help", QDialogButtonBox::HelpRole);
    connect(help, &QPushButton::clicked, this, [this] { OpenHelp(HelpPageFor(windowTitle())); });
    // F1 too, as in the other dialogs; the window stays modeless, so that patterns can be dragged out of it.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, help,
            &QPushButton::click);
    for (QPushButton* b : {insert_, makeGame_, copy, delete_, showLibrary_, properties, help})
        b->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, &CPatternsDialog::CopySelected);
    connect(properties, &QPushButton::clicked, this, &CPatternsDialog::EditPropertiesOfSelected);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(insert_, &QPushButton::clicked, this, &CPatternsDialog::InsertSelected);
    connect(makeGame_, &QPushButton::clicked, this, &CPatternsDialog::MakeGameOfSelected);
    connect(delete_, &QPushButton::clicked, this, &CPatternsDialog::DeleteSelected);
    connect(showLibrary_, &QPushButton::clicked, this, &CPatternsDialog::ShowLibraryOfSelected);

    tileMenu_ = new QMenu(this);
    const auto item = [&](const char* text, const char* prompt, void (CPatternsDialog::*action)()) {
        QAction* a = tileMenu_->addAction(QString::fromUtf8(text), this, action);
        a->setStatusTip(QString::fromUtf8(prompt));
    };
    item("Insert", "Insert into the current game", &CPatternsDialog::InsertSelected);
    item("Make Game", "Create new game with this as only content", &CPatternsDialog::MakeGameOfSelected);
    item("Delete", "Delete pattern from library", &CPatternsDialog::DeleteSelected);
    item("Show Library", "Show library containing this pattern", &CPatternsDialog::ShowLibraryOfSelected);
    item("Edit Properties", "Show or change the pattern's properties",
         &CPatternsDialog::EditPropertiesOfSelected);
    item("Copy to Clipboard", "Copy the pattern to the clipboard", &CPatternsDialog::CopySelected);

    // A tile dragged into a game floats there as Insert makes it float; a transform tile carries that
    // phase and orientation.
    tiles_->SetDragData([this](int item) -> QMimeData* {
        const CNamedPattern* entry = collection_.EntryAt(item);
        return entry ? PatternDragData(*entry) : nullptr;
    });
    transformTiles_->SetDragData([this](int item) -> QMimeData* {
        const CNamedPattern* entry = SelectedEntry();
        return entry && transforms_ ? PatternDragData(*entry, item) : nullptr;
    });
    connect(tiles_, &CTileWin::selectionChanged, this, &CPatternsDialog::SelectionChanged);
    connect(tiles_, &CTileWin::activated, this, &CPatternsDialog::InsertSelected);
    connect(tiles_, &CTileWin::contextMenuRequested, this, &CPatternsDialog::ShowTileMenu);
    connect(tiles_, &CTileWin::aboutToPaint, this, &CPatternsDialog::FollowLibraries);
    connect(transformTiles_, &CTileWin::aboutToPaint, this, &CPatternsDialog::FollowLibraries);
    auto* follow = new QTimer(this);
    connect(follow, &QTimer::timeout, this, &CPatternsDialog::FollowLibraries);
    follow->start(kFollowIntervalMs);

    const int tileWidth = int(params::PatternTileWidth.GetUInt());
    resize(8 * tileWidth, 9 * tileWidth);
    ApplyFilter();
}

CPatternsDialog::~CPatternsDialog() {
    // The tile windows must not paint collections that die before them.
    tiles_->SetCollection(nullptr, {});
    transformTiles_->SetCollection(nullptr, {});
}

void CPatternsDialog::BuildFilter(QVBoxLayout* layout) {
    auto* group = new QGroupBox(QStringLiteral("Filter Criteria"), this);
    auto* form = new QHBoxLayout(group);
    const auto labelled = [&](const char* text, QWidget* field) {
        auto* label = new QLabel(QString::fromUtf8(text), group);
        label->setBuddy(field);
        form->addWidget(label);
        form->addWidget(field, 1);
    };
    library_ = new QComboBox(group);
    library_->setObjectName(QStringLiteral("library"));
    labelled("&Library:", library_);
    type_ = new QComboBox(group);
    type_->setObjectName(QStringLiteral("type"));
    type_->addItem(QStringLiteral("[Any]"), int(EPatternType::Any));
    for (int t = int(EPatternType::Still); t <= int(EPatternType::Doomed); ++t) {
        const std::string_view label = PatternTypeLabel(EPatternType(t));
        type_->addItem(QString::fromUtf8(label.data(), qsizetype(label.size())), t);
    }
    labelled("&Type:", type_);
    size_ = new QLineEdit(group);
    size_->setObjectName(QStringLiteral("size"));
    size_->setValidator(new QIntValidator(0, INT32_MAX, size_));
    size_->setMinimumWidth(size_->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
    labelled("&Size:", size_);
    rule_ = new QComboBox(group);
    rule_->setObjectName(QStringLiteral("rule"));
    rule_->addItem(QStringLiteral("[Any]"));
    for (CRuleIterator rules(false, true); rules.Current(); rules.Next())
        rule_->addItem(QString::fromStdString(DisplayName(*rules.Current())), rules.Current()->Code());
    labelled("&Rule:", rule_);
    auto* filter = new QPushButton(QStringLiteral("&Filter"), group);
    filter->setDefault(true);
    form->addWidget(filter);
    connect(filter, &QPushButton::clicked, this, &CPatternsDialog::ApplyFilter);
    layout->addWidget(group);

    const CFilterMemory& memory = RememberedFilter();
    FillLibraryChoice();
    library_->setCurrentIndex(std::max(0, library_->findData(memory.filter.library)));
    type_->setCurrentIndex(std::max(0, type_->findData(int(memory.filter.type))));
    size_->setText(memory.size);
    if (!memory.filter.anyRule) rule_->setCurrentIndex(std::max(0, rule_->findData(memory.filter.rule)));
}

QWidget* CPatternsDialog::BuildPropertiesPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    const char* const labels[kProperties] = {
        "Library:", "Type:", "Period:", "Speed:  X:", "Y:", "Population:", "Rule:", "Apgcode:"};
    for (int i = 0; i < kProperties; ++i) {
        properties_[i] = new QLineEdit(page);
        properties_[i]->setReadOnly(true);
        form->addRow(QString::fromUtf8(labels[i]), properties_[i]);
    }
    return page;
}

void CPatternsDialog::FillLibraryChoice() {
    const QVariant chosen = library_->currentData();
    library_->clear();
    library_->addItem(QStringLiteral("All"), kAllLibrariesNumber);
    for (CPatternLibrary* library = Libraries().First(); library; library = library->Next())
        library_->addItem(QString::fromStdString(library->DialogTitle()), library->Number());
    library_->setCurrentIndex(std::max(0, library_->findData(chosen)));
    seenLibraries_ = LibrariesSignature();
}

void CPatternsDialog::ApplyFilter() {
    CPatternFilter filter;
    filter.library = library_->currentData().toInt();
    filter.type = EPatternType(type_->currentData().toInt());
    filter.population = size_->text().trimmed().toUInt();
    filter.anyRule = rule_->currentIndex() <= 0;
    filter.rule = filter.anyRule ? 0 : RuleCode(rule_->currentData().toUInt());
    filter_ = filter;
    RememberedFilter() = {filter, size_->text().trimmed()};
    transformTiles_->SetCollection(nullptr, {});
    transforms_.reset();
    collection_.SetFilter(filter_);
    seenChanges_ = LibraryChangeCount();
    seenCount_ = NamedPatterns().Count();
    tiles_->SetCollection(&collection_, QSize(int(params::PatternTileWidth.GetUInt()),
                                              int(params::PatternTileHeight.GetUInt())));
    SelectionChanged();
}

void CPatternsDialog::FollowLibraries() {
    if (LibrariesSignature() != seenLibraries_) FillLibraryChoice();
    UpdateProgress();
    if (LibraryChangeCount() == seenChanges_ && NamedPatterns().Count() == seenCount_) return;
    // Nothing may paint or read the old lists now: their entries may be gone.
    const int item = tiles_->Selected();
    transformTiles_->SetCollection(nullptr, {});
    transforms_.reset();
    collection_.SetFilter(filter_);
    seenChanges_ = LibraryChangeCount();
    seenCount_ = NamedPatterns().Count();
    CNamedPattern* still =
        selectedName_.empty() ? nullptr : FindNamedPattern(selectedName_, FindLibrary(selectedLibrary_));
    int again = 0;
    for (int i = 1; still && i <= collection_.UniverseCount() && again == 0; ++i)
        if (collection_.EntryAt(i) == still) again = i;
    tiles_->Refresh();
    tiles_->SetSelected(again != 0 ? again : item);
    SelectionChanged();
}

void CPatternsDialog::UpdateProgress() {
    QString text =
        QStringLiteral("%1 of %2 patterns").arg(collection_.UniverseCount()).arg(NamedPatterns().Count());
    if (CBgLoadPatternLibrary* task = LibraryLoadTask())
        text += QStringLiteral("; loading %1...").arg(QString::fromStdString(task->Library().FileName()));
    if (count_->text() != text) count_->setText(text);
}

CNamedPattern* CPatternsDialog::SelectedEntry() const { return collection_.EntryAt(tiles_->Selected()); }

void CPatternsDialog::SelectionChanged() {
    CNamedPattern* entry = SelectedEntry();
    selectedName_ = entry ? entry->Name() : std::string();
    selectedLibrary_ = entry ? entry->key.libraryNumber : 0;
    for (QPushButton* b : {insert_, makeGame_, delete_}) b->setEnabled(entry != nullptr);
    showLibrary_->setEnabled(entry || filter_.library != kAllLibrariesNumber);
    transformTiles_->SetCollection(nullptr, {});
    transforms_.reset();
    if (!entry) {
        for (QLineEdit* field : properties_) field->clear();
        return;
    }
    CPattern& pattern = entry->Pattern();
    const EPatternType type = pattern.GetType();
    const std::string_view typeLabel = PatternTypeLabel(type);
    properties_[kLibrary]->setText(entry->Library() ? QString::fromStdString(entry->Library()->DialogTitle())
                                                    : QString());
    properties_[kType]->setText(QString::fromUtf8(typeLabel.data(), qsizetype(typeLabel.size())));
    properties_[kPeriod]->setText(QString::number(pattern.Period()));
    properties_[kSpeedX]->setText(QString::number(pattern.Velocity().cx));
    properties_[kSpeedY]->setText(QString::number(pattern.Velocity().cy));
    properties_[kPopulation]->setText(QString::number(pattern.Base().Population()));
    properties_[kRule]->setText(RuleText(pattern.Base().GetRuleCode()));
    properties_[kApgcode]->setText(QString::fromStdString(PatternApgCode(pattern)));
    transforms_ = std::make_unique<CPatternTransformCollection>(pattern);
    transformTiles_->SetFixedColumns(transforms_->Columns());
    transformTiles_->SetCollection(transforms_.get(), QSize(int(params::TransformsTileWidth.GetUInt()),
                                                            int(params::TransformsTileHeight.GetUInt())));
}

void CPatternsDialog::ShowTileMenu(int, QPoint position) {
    if (SelectedEntry()) tileMenu_->popup(position);
}

// ---- Actions

void CPatternsDialog::InsertSelected() {
    CNamedPattern* entry = SelectedEntry();
    CUniverseWindow* window = main_.UniverseWindow();
    if (!entry || !window->Game()) return;
    RunGuarded(this, [&] {
        // The pattern floats at the centre of the view until the user drops it.
        CUniverse& base = entry->Pattern().Base();
        const CLSize offset = OffsetCentredOn(base.GetBounds(), window->Geometry().Centre());
        window->SetFloatingObject(std::make_unique<CGrowableUniverse>(base), offset);
    });
}

void CPatternsDialog::MakeGameOfSelected() {
    CNamedPattern* entry = SelectedEntry();
    if (!entry) return;
    RunGuarded(this, [&] {
        CGame& game = main_.Games().NewGame(entry->Pattern().Base());
        game.SetOriginator(params::DefaultOriginator.GetText());
        main_.ShowGame(&game);
        if (params::GridMakeGame.GetInt() != 0) main_.UniverseWindow()->SetGridStyle(true);
        main_.UniverseWindow()->Zoom(EZoom::kAll);
    });
}

void CPatternsDialog::DeleteSelected() {
    CNamedPattern* entry = SelectedEntry();
    if (!entry) return;
    RunGuarded(this, [&] {
        if (DeletePattern(*entry)) FollowLibraries();
    });
}

void CPatternsDialog::ShowLibraryOfSelected() {
    CNamedPattern* entry = SelectedEntry();
    const int32_t number = entry ? entry->key.libraryNumber : filter_.library;
    if (number != kAllLibrariesNumber) OpenPatternLibraryDialog(&main_, number);
}

void CPatternsDialog::CopySelected() {
    if (CNamedPattern* entry = SelectedEntry())
        RunGuarded(this, [&] { main_.Clipboard().Clipboard().CopyPattern(entry->Pattern().Base()); });
}

void CPatternsDialog::EditPropertiesOfSelected() {
    CNamedPattern* entry = SelectedEntry();
    if (!entry) return;
    CPatternPropertiesDialog properties(*entry, this);
    properties.exec();
    FollowLibraries();
}

namespace {

// The Patterns window on the screen, if any: a closed one is hidden and only waits to be deleted.
CPatternsDialog* OpenPatternsDialog(CMainWindow& main) {
    for (CPatternsDialog* dialog : main.findChildren<CPatternsDialog*>(Qt::FindDirectChildrenOnly))
        if (dialog->isVisible()) return dialog;
    return nullptr;
}

}  // namespace

CPatternsDialog& ShowPatternsDialog(CMainWindow& main, bool activate) {
    CPatternsDialog* dialog = OpenPatternsDialog(main);
    if (!dialog) dialog = new CPatternsDialog(main);
    dialog->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    if (dialog->isMinimized())
        dialog->showNormal();
    else
        dialog->show();
    dialog->raise();
    if (activate) dialog->activateWindow();
    return *dialog;
}

void ToggleKeepPatternsOnTop(CMainWindow& main) {
    const bool keep = params::KeepPatternsOnTop.GetInt() == 0;
    params::KeepPatternsOnTop.SetInt(keep ? 1 : 0);
    // A file that cannot be written keeps the change pending for the next save of the parameters.
    (void)SaveAllParameters();
    if (keep) ShowPatternsDialog(main, false);
}

namespace {

// Watches the main window's activations for KeepPatternsVisible. An open Patterns window is raised (and
// restored) at every activation; a closed one opens again only when the user comes back to the program
// from elsewhere (or starts it), so that closing the window, which activates the main window, is not undone
// at once.
class CPatternsKeeper : public QObject {
public:
    explicit CPatternsKeeper(CMainWindow& main) : QObject(&main), main_(main) {
        connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive) returning_ = true;
        });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &main_ && event->type() == QEvent::WindowActivate)
            // Once the activation has settled, so that the Patterns window comes up above the main window.
            QTimer::singleShot(0, this, &CPatternsKeeper::Keep);
        return false;
    }

private:
    void Keep() {
        if (params::KeepPatternsOnTop.GetInt() != 0 && main_.isVisible() &&
            (OpenPatternsDialog(main_) || returning_))
            ShowPatternsDialog(main_, false);
        returning_ = false;
    }

    CMainWindow& main_;
    bool returning_ = true;  // the first activation is the program's start
};

}  // namespace

void KeepPatternsVisible(CMainWindow& main) { main.installEventFilter(new CPatternsKeeper(main)); }

}  // namespace tessera::ui
