// The Edit commands through Qt's clipboard: what other programs get (text, image, picture), patterns
// coming back from text and images, the choice among several, and what stays once the program has gone.
#include <QClipboard>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>

#include "ui/qt_clipboard.h"
#include "ui/select_universe_dialog.h"
#include "ui/ui_fixture.h"

namespace tessera::test {
namespace {

QClipboard& SystemClipboard() { return *QGuiApplication::clipboard(); }

// Another program puts these on the clipboard.
void OtherProgramPuts(const QString& mimeType, const QByteArray& bytes) {
    auto* data = new QMimeData;
    data->setData(mimeType, bytes);
    SystemClipboard().setMimeData(data);
}

}  // namespace

class ClipboardTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CUiFixture> f;

    Cells DrawAndSelect(uint32_t seed) {
        const Cells cells = SeededSoup(seed, -11, 4, 23, 15, 40);
        f->Place(cells);
        f->View().SelectAll();
        return cells;
    }
    void Run(uint32_t id) { f->window->RunCommandId(id); }

private slots:
    void init() { f = std::make_unique<CUiFixture>(); }
    void cleanup() { f.reset(); }

    void copiedPatternReadsBackAsTextImageAndPicture() {
        const Cells cells = DrawAndSelect(41);
        const CLRect box = BoundsOf(cells);
        const int scale = f->View().Geometry().Scale();
        Run(ui::cmd::kCopy);
        const QString text = SystemClipboard().text();
        QCOMPARE(Normalised(ReadToolPattern(text.toStdString())), Normalised(cells));
        // The picture, drawn: the first pixel of each cell is dark exactly where a cell lives.
        QSvgRenderer svg(SystemClipboard().mimeData()->data("image/svg+xml"));
        QVERIFY(svg.isValid());
        QCOMPARE(svg.defaultSize(), QSize((box.right - box.left) * scale, (box.bottom - box.top) * scale));
        QImage drawn(svg.defaultSize(), QImage::Format_RGB32);
        drawn.fill(Qt::white);
        QPainter painter(&drawn);
        svg.render(&painter);
        painter.end();
        for (int32_t y = box.top; y < box.bottom; ++y)
            for (int32_t x = box.left; x < box.right; ++x)
                QCOMPARE(qGray(drawn.pixel((x - box.left) * scale, (y - box.top) * scale)) < 128,
                         cells.count({x, y}) == 1);

        // At scale 1 the image has one black pixel per live cell, and another program's copy of it
        // pastes back after the question whether to invert it.
        f->View().SetGridStyle(false);
        f->View().Geometry().SetScale(1);
        Run(ui::cmd::kCopy);
        const QByteArray png = SystemClipboard().mimeData()->data("image/png");
        const QImage image = QImage::fromData(png, "PNG");
        QCOMPARE(image.size(), QSize(box.right - box.left, box.bottom - box.top));
        for (int32_t y = box.top; y < box.bottom; ++y)
            for (int32_t x = box.left; x < box.right; ++x)
                QCOMPARE(qGray(image.pixel(x - box.left, y - box.top)) == 0, cells.count({x, y}) == 1);
        OtherProgramPuts("image/png", png);
        const auto asked = CUiFixture::AnswerNext(QMessageBox::Yes);
        Run(ui::cmd::kPasteNewGame);
        QVERIFY(!asked->isEmpty());  // mostly white paper: the black pixels are the cells
        QCOMPARE(Normalised(f->GameCells()), Normalised(cells));

        // The text as another program would put it back: Paste floats it over the window's middle.
        OtherProgramPuts("text/plain", text.toUtf8());
        Run(ui::cmd::kNewGame);
        QTRY_VERIFY(f->window->Action(ui::cmd::kPaste)->isEnabled());
        Run(ui::cmd::kPaste);
        QVERIFY(f->View().HasFloatingObject());
        f->View().DropFloatingObject();
        QCOMPARE(Normalised(f->GameCells()), Normalised(cells));
        QVERIFY(BoundsOf(f->GameCells()).Contains(f->View().Geometry().Centre()));

        // Cut takes the cells away; Paste as New Game makes a game of them.
        f->View().SelectAll();
        Run(ui::cmd::kCut);
        QVERIFY(f->GameCells().empty());
        CGame* before = &f->Game();
        Run(ui::cmd::kPasteNewGame);
        QVERIFY(&f->Game() != before);
        QCOMPARE(Normalised(f->GameCells()), Normalised(cells));
    }

    void severalPatternsAskWhichAndJunkAroundRlePastes() {
        // Several patterns: their names are offered; cancelled, nothing is pasted (a choice made is taken in
        // the pattern creation test).
        SystemClipboard().setText("#N first\n#P 0 0\n**\n#N second\n#P 0 0\n*\n*\n#N third\n#P 0 0\n***\n");
        QStringList offered;
        WhenModal<ui::CSelectUniverseDialog>([&](ui::CSelectUniverseDialog* dialog) {
            for (int i = 0; i < dialog->List()->count(); ++i) offered << dialog->List()->item(i)->text();
            dialog->reject();
        });
        Run(ui::cmd::kPaste);
        QCOMPARE(offered, QStringList({"first", "second", "third"}));
        QVERIFY(!f->View().HasFloatingObject());

        // Text without a pattern cannot be pasted.
        SystemClipboard().setText(QStringLiteral("Meeting notes, nothing alive here.\n"));
        QTRY_VERIFY(!f->window->Action(ui::cmd::kPaste)->isEnabled());

        // RLE as a web page gives it: blank lines, a line of prose, the header, the data, a signature.
        const Cells cells = SeededSoup(43, 0, 0, 19, 11, 45);
        const std::string rle = ToRle(cells, "B3/S23");  // with a name and a comment before the header
        SystemClipboard().setText(QString::fromStdString("\n\nHere is the pattern I found:\n\n" + rle +
                                                         "\n\nPosted by a reader, 3 May\n\n"));
        QTRY_VERIFY(f->window->Action(ui::cmd::kPaste)->isEnabled());
        Run(ui::cmd::kPasteNewGame);
        QCOMPARE(QString::fromStdString(f->Game().Name().Text()), QStringLiteral("soup"));
        QCOMPARE(Normalised(f->GameCells()), Normalised(cells));
    }

    void copiesOutliveTheProgramUnlessTheUserLetsThemGo() {
        // Nothing is drawn until asked for: text too long for the user's limit is refused only then, and
        // the image is still given.
        params::MaxClipboardBuffer.SetUInt(65528);
        auto large = MakeUniverse(SeededSoup(46, 0, 0, 400, 400, 50));
        f->window->Clipboard().Copy(*large, f->View());
        QTest::qWait(20);
        QVERIFY(f->messages.empty());
        QVERIFY(SystemClipboard().text().isEmpty());
        QTRY_COMPARE(f->messages.size(), size_t(1));
        QVERIFY(!SystemClipboard().image().isNull());

        // A small copy is left without a question and serves its text after the program has gone.
        const Cells cells = DrawAndSelect(44);
        Run(ui::cmd::kCopy);
        f->window->close();
        f->window.reset();
        QCOMPARE(Normalised(ReadToolPattern(SystemClipboard().text().toStdString())), Normalised(cells));

        // A large one goes when the user says so.
        f.reset();
        f = std::make_unique<CUiFixture>();
        DrawAndSelect(45);
        params::MaxSilentClipboardLength.SetInt(10);
        Run(ui::cmd::kCopy);
        const auto asked = CUiFixture::AnswerNext(QMessageBox::No);
        f->window->close();
        QVERIFY(!asked->isEmpty());
        const QMimeData* left = SystemClipboard().mimeData();
        QVERIFY(!left || left->formats().isEmpty());
    }
};

static RegisterUiTest<ClipboardTest> registered;

}  // namespace tessera::test

#include "clipboard_test.moc"
