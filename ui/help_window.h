#pragma once
// The help window: the program's own help pages with their contents and a search for pages holding
// words. One window serves the whole program; the Help menu and the dialogs' Help buttons open it.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QUrl;

namespace tessera::ui {

inline constexpr char kHelpContentsPage[] = "index.html";
inline constexpr char kGettingStartedPage[] = "getting-started.html";

// Where the help pages are: share/tessera/help beside the program's folder when installed, the source
// tree's help folder when run from the build tree. Empty when neither holds the contents page.
QString HelpFolder();

class CHelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit CHelpWindow(const QString& folder, QWidget* parent = nullptr);

    // A page of the help folder, "page.html" or "page.html#place".
    void ShowPage(const QString& page);
    // The file name of the page shown.
    QString CurrentPage() const;
    // Lists the pages that hold every word (or a word beginning with it), most mentions first.
    void Search(const QString& words);
    // The file names of the pages the last search found, in the order listed.
    QStringList Results() const;

    QTextBrowser* Browser() const { return browser_; }
    QLineEdit* SearchField() const { return searchField_; }
    QListWidget* ContentsList() const { return contents_; }
    QListWidget* ResultsList() const { return results_; }

private:
    struct CPage {
        QString file;
        QString title;
        QStringList words;  // lower case, in order
    };
    void LoadPages();
    // The browser tells of the new page before its source() returns it: the page is the signal's.
    void PageShown(const QUrl& shown);

    QString folder_;
    std::vector<CPage> pages_;  // the contents page first, then the pages it lists in its order
    QTabWidget* tabs_;
    QListWidget* contents_;
    QLineEdit* searchField_;
    QListWidget* results_;
    QTextBrowser* browser_;
    QStringList found_;
    QStringList searchWords_;
};

// Opens the help window at a page (the contents when page is empty); it is made on first use. Null, with
// a message to the user, when the help pages cannot be found.
CHelpWindow* OpenHelp(const QString& page);
// The help window if it is open.
CHelpWindow* ExistingHelpWindow();
// The help page for a dialog, chosen by its title: the contents when no page covers it.
QString HelpPageFor(const QString& dialogTitle);

}  // namespace tessera::ui
