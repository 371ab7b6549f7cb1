#include "ui/help_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/message_sink.h"

namespace tessera::ui {
namespace {

constexpr int kContentsWidth = 220;
constexpr int kWindowWidth = 860;
constexpr int kWindowHeight = 600;
constexpr int kFileRole = Qt::UserRole;

QString ReadPage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

QString TitleOf(const QString& html) {
    static const QRegularExpression title(
        QStringLiteral("<title>(.*?)</title>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return title.match(html).captured(1).trimmed();
}

QStringList WordsOf(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[^\\w]+"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    return text.toLower().split(separators, Qt::SkipEmptyParts);
}

// Which page covers a dialog, by the start of its title.
struct CDialogHelp {
    const char* titleStart;
    const char* page;
};
constexpr CDialogHelp kDialogHelp[] = {
    {"Goto Generation", "games-and-generations.html#going-back"},
    {"Select Game", "games-and-generations.html#games"},
    {"Description", "games-and-generations.html#games"},
    {"Name", "games-and-generations.html#games"},
    {"Growth Rules", "rules.html#dialog"},
    {"Random Broth", "drawing-and-growing.html#broth"},
    {"Repeat Insertion", "drawing-and-growing.html#repeat"},
    {"Select Universe", "file-formats.html#several"},
    {"File Error report", "file-formats.html#errors"},
    {"Census", "libraries-and-census.html#census"},
    {"Total Census", "libraries-and-census.html#census"},
    {"Create Pattern", "libraries-and-census.html#create"},
    {"Pattern \"", "libraries-and-census.html#properties"},
    {"Pattern", "libraries-and-census.html#libraries"},
    {"Tessera Options", "options.html#general"},
};

QPointer<CHelpWindow>& TheHelpWindow() {
    static QPointer<CHelpWindow> window;
    return window;
}

}  // namespace

QString HelpFolder() {
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString& folder :
         {program.filePath(QStringLiteral("../share/tessera/help")), program.filePath(QStringLiteral("help")),
          QStringLiteral(TESSERA_SOURCE_HELP_DIR)}) {
        if (QFileInfo::exists(folder + QLatin1Char('/') + QLatin1String(kHelpContentsPage)))
            return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    }
    return {};
}

CHelpWindow::CHelpWindow(const QString& folder, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(folder) {
    setWindowTitle(QStringLiteral("Tessera Help"));
    // Closing the main window ends the program even while the help is open.
    setAttribute(Qt::WA_QuitOnClose, false);

    browser_ = new QTextBrowser(this);
    browser_->setSearchPaths({folder_});
    browser_->setOpenExternalLinks(true);

    contents_ = new QListWidget(this);
    searchField_ = new QLineEdit(this);
    searchField_->setPlaceholderText(QStringLiteral("Words to find"));
    searchField_->setClearButtonEnabled(true);
    auto* find = new QPushButton(QStringLiteral("&Find"), this);
    results_ = new QListWidget(this);
    auto* searchPage = new QWidget(this);
    auto* searchLayout = new QVBoxLayout(searchPage);
    auto* searchLine = new QHBoxLayout;
    searchLine->addWidget(searchField_, 1);
    searchLine->addWidget(find);
    searchLayout->addLayout(searchLine);
    searchLayout->addWidget(results_, 1);
    tabs_ = new QTabWidget(this);
    tabs_->addTab(contents_, QStringLiteral("&Contents"));
    tabs_->addTab(searchPage, QStringLiteral("&Search"));

    auto* bar = new QToolBar(this);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"));
    QAction* forward =
        bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Forward"));
    QAction* home = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Contents"));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, [this] { ShowPage(QLatin1String(kHelpContentsPage)); });
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({kContentsWidth, kWindowWidth - kContentsWidth});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(splitter, 1);
    resize(kWindowWidth, kWindowHeight);

    LoadPages();
    for (const CPage& page : pages_) {
        auto* item = new QListWidgetItem(page.title, contents_);
        item->setData(kFileRole, page.file);
    }
    const auto open = [this](QListWidgetItem* item) {
        if (item) ShowPage(item->data(kFileRole).toString());
    };
    connect(contents_, &QListWidget::itemActivated, this, open);
    connect(contents_, &QListWidget::itemClicked, this, open);
    connect(results_, &QListWidget::itemActivated, this, open);
    connect(results_, &QListWidget::itemClicked, this, open);
    connect(searchField_, &QLineEdit::returnPressed, this, [this] { Search(searchField_->text()); });
    connect(find, &QPushButton::clicked, this, [this] { Search(searchField_->text()); });
    connect(browser_, &QTextBrowser::sourceChanged, this, &CHelpWindow::PageShown);
}

void CHelpWindow::LoadPages() {
    const QString index = ReadPage(folder_ + QLatin1Char('/') + QLatin1String(kHelpContentsPage));
    pages_.push_back({QLatin1String(kHelpContentsPage), QStringLiteral("Contents"), {}});
    static const QRegularExpression link(QStringLiteral("href=\"([^\"#:/]+\\.html)\""));
    for (auto match = link.globalMatch(index); match.hasNext();) {
        const QString file = match.next().captured(1);
        const bool known =
            std::any_of(pages_.begin(), pages_.end(), [&](const CPage& p) { return p.file == file; });
        if (!known && QFileInfo::exists(folder_ + QLatin1Char('/') + file)) pages_.push_back({file, {}, {}});
    }
    for (CPage& page : pages_) {
        const QString html = ReadPage(folder_ + QLatin1Char('/') + page.file);
        if (page.title.isEmpty()) page.title = TitleOf(html).isEmpty() ? page.file : TitleOf(html);
        QTextDocument text;
        text.setHtml(html);
        page.words = WordsOf(text.toPlainText());
    }
}

void CHelpWindow::ShowPage(const QString& page) {
    const qsizetype hash = page.indexOf(QLatin1Char('#'));
    QUrl url = QUrl::fromLocalFile(folder_ + QLatin1Char('/') + (hash < 0 ? page : page.left(hash)));
    if (hash >= 0) url.setFragment(page.mid(hash + 1));
    browser_->setSource(url);
}

QString CHelpWindow::CurrentPage() const { return browser_->source().fileName(); }

void CHelpWindow::PageShown(const QUrl& shown) {
    const QString file = shown.fileName();
    const auto page =
        std::find_if(pages_.begin(), pages_.end(), [&](const CPage& p) { return p.file == file; });
    setWindowTitle(page == pages_.end() ? QStringLiteral("Tessera Help")
                                        : QStringLiteral("Tessera Help - ") + page->title);
    if (page != pages_.end()) {
        const QSignalBlocker quiet(contents_);
        contents_->setCurrentRow(int(page - pages_.begin()));
    }
    // A page opened from the search shows where the first word is.
    if (!searchWords_.isEmpty() && found_.contains(file) && shown.fragment().isEmpty())
        browser_->find(searchWords_.front());
}

void CHelpWindow::Search(const QString& words) {
    searchWords_ = WordsOf(words);
    found_.clear();
    results_->clear();
    tabs_->setCurrentIndex(1);
    if (searchWords_.isEmpty()) return;
    std::vector<std::pair<int, const CPage*>> hits;
    for (const CPage& page : pages_) {
        int total = 0;
        bool all = true;
        for (const QString& word : searchWords_) {
            const auto n = std::count_if(page.words.begin(), page.words.end(),
                                         [&](const QString& w) { return w.startsWith(word); });
            all = all && n > 0;
            total += int(n);
        }
        if (all) hits.emplace_back(total, &page);
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [count, page] : hits) {
        auto* item = new QListWidgetItem(page->title, results_);
        item->setData(kFileRole, page->file);
        found_ << page->file;
    }
    if (hits.empty()) {
        auto* none = new QListWidgetItem(QStringLiteral("No page holds these words."), results_);
        none->setFlags(Qt::NoItemFlags);
    }
}

QStringList CHelpWindow::Results() const { return found_; }

CHelpWindow* OpenHelp(const QString& page) {
    QPointer<CHelpWindow>& window = TheHelpWindow();
    if (!window) {
        const QString folder = HelpFolder();
        if (folder.isEmpty()) {
            ShowMessage(QApplication::activeWindow(), QMessageBox::Warning,
                        QStringLiteral("The help pages could not be found. They belong in ") +
                            QDir(QCoreApplication::applicationDirPath())
                                .filePath(QStringLiteral("../share/tessera/help")));
            return nullptr;
        }
        window = new CHelpWindow(folder);
        window->setAttribute(Qt::WA_DeleteOnClose);
        // A window without a parent is not deleted with the application by itself.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, &QObject::deleteLater);
    }
    window->ShowPage(page.isEmpty() ? QLatin1String(kHelpContentsPage) : page);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

CHelpWindow* ExistingHelpWindow() { return TheHelpWindow(); }

QString HelpPageFor(const QString& dialogTitle) {
    for (const CDialogHelp& help : kDialogHelp)
        if (dialogTitle.startsWith(QLatin1String(help.titleStart))) return QLatin1String(help.page);
    return QLatin1String(kHelpContentsPage);
}

}  // namespace tessera::ui
