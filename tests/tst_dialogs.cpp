#include "info/diaHelp.h"
#include "info/diaStore.h"
#include "info/diaTech.h"
#include "info/frmAbout.h"

#include "helpers/ModalDriver.h"
#include "platform/AppInfo.h"
#include "platform/Colours.h"
#include "platform/Controls.h"
#include "platform/Equations.h"
#include "platform/Program.h"
#include "platform/SystemInfo.h"
#include "platform/TextBox.h"

#include <QDesktopServices>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <memory>
#include <stdexcept>

using platform::DesignFont;
using platform::Typeface;
using platform::TwipsBox;

namespace {

enum Window { Help, About, Tech, Store };

QDialog *make(int window)
{
    switch (window) {
    case Help: return new diaHelp;
    case About: return new frmAbout;
    case Tech: return new diaTech;
    default: return new diaStore;
    }
}

QFont sans(qreal points, int style = platform::Plain)
{
    return DesignFont(Typeface::SansSerif, points, style);
}

const QString Crlf = QStringLiteral("\r\n");
const QString &ToolKey = platform::SystemInfoKey;
const QString &LocationKey = platform::SystemInfoLocationKey;

// A configuration store, file system and program start that the test controls and watches.
struct FakeSystem {
    struct Value {
        std::uint32_t type;
        QByteArray data;
    };
    QMap<QString, QMap<QString, Value>> keys;
    QStringList files;
    bool startWorks = true;
    bool queryThrows = false;

    QStringList openedKeys, fileTests, starts;
    int opens = 0;
    int closes = 0;

    void install()
    {
        platform::SystemInfoCalls &calls = platform::SystemInfo();
        calls.openKey = [this](platform::ConfigRoot root, const QString &name, std::uint32_t access,
                               platform::ConfigKey *key) -> long {
            openedKeys << name;
            if (root != platform::LocalMachine || access != platform::KeyAllAccess || !keys.contains(name))
                return platform::ConfigNotFound;
            *key = static_cast<platform::ConfigKey>(openedKeys.size());
            ++opens;
            return platform::ConfigSuccess;
        };
        calls.queryValue = [this](platform::ConfigKey key, const QString &name, std::uint32_t *type,
                                  std::span<char> buffer, std::uint32_t *size) -> long {
            if (queryThrows)
                throw std::runtime_error("store failed");
            const auto &values = keys[openedKeys.at(static_cast<int>(key) - 1)];
            if (!values.contains(name))
                return platform::ConfigNotFound;
            const Value &value = values[name];
            if (value.data.size() > static_cast<qsizetype>(*size))
                return platform::ConfigMoreData;
            std::memcpy(buffer.data(), value.data.constData(), static_cast<std::size_t>(value.data.size()));
            *type = value.type;
            *size = static_cast<std::uint32_t>(value.data.size());
            return platform::ConfigSuccess;
        };
        calls.closeKey = [this](platform::ConfigKey) { ++closes; };
        calls.fileName = [this](const QString &path) {
            fileTests << path;
            return files.contains(path) ? path.section(QLatin1Char('\\'), -1) : QString();
        };
        calls.startProgram = [this](const QString &path) {
            starts << path;
            return startWorks && !path.isEmpty();
        };
    }
};

// Stands in for the web browser: records every address it is asked to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }
};

} // namespace

class tst_Dialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windows_data();
    void windows();
    void controls_data();
    void controls();
    void textsFit_data();
    void textsFit();
    void tabOrder_data();
    void tabOrder();
    void keys_data();
    void keys();

    void tutorColumns_data();
    void tutorColumns();
    void tutorColumnsLineUp_data();
    void tutorColumnsLineUp();
    void tutorTexts();
    void tutorOpensAfresh();

    void aboutTexts_data();
    void aboutTexts();
    void aboutSeparator();
    void sysInfo_data();
    void sysInfo();
    void sysInfoOnThisSystem_data();
    void sysInfoOnThisSystem();
    void nativeFileTestAndStart();

    void storeVisitTwice();
    void storeVisitWithoutBrowser();

private:
    FakeSystem fake;
    UrlRecorder browser;
};

void tst_Dialogs::init()
{
    // No test starts a real program or browser: the fakes answer instead.
    fake = FakeSystem();
    fake.keys[ToolKey][QStringLiteral("PATH")] = {platform::ConfigString, QByteArray("/usr/bin/msinfo", 16)};
    fake.install();
    browser.urls.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "open");
}

void tst_Dialogs::cleanup()
{
    testing::CancelPendingModals();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    platform::ReplaceApp(std::nullopt);
    platform::SystemInfo() = platform::NativeSystemInfo();
    platform::SystemInfo().startProgram = [](const QString &) { return false; };
}

void tst_Dialogs::windows_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QColor>("back");
    QTest::newRow("Formula Tutor") << int(Help) << "Formula Tutor" << QSize(717, 546) << platform::White;
    QTest::newRow("About box") << int(About) << "About Tarnwick" << QSize(382, 237)
                               << QApplication::palette().color(QPalette::Window);
    QTest::newRow("support") << int(Tech) << "" << QSize(402, 213) << platform::White;
    QTest::newRow("store") << int(Store) << "https://www.quarro.example/store" << QSize(402, 213)
                           << QApplication::palette().color(QPalette::Window);
}

void tst_Dialogs::windows()
{
    QFETCH(int, window);
    QFETCH(QString, caption);
    QFETCH(QSize, client);
    QFETCH(QColor, back);
    std::unique_ptr<QDialog> dialog(make(window));
    QCOMPARE(dialog->windowTitle(), caption);
    QCOMPARE(dialog->size(), client);
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QCOMPARE(dialog->palette().color(QPalette::Window), back);
    QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(dialog->windowFlags() & Qt::WindowCloseButtonHint);
}

void tst_Dialogs::controls_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<bool>("autoSize");
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("back");
    const auto row = [](int window, const char *name, const char *container, TwipsBox b, QFont font,
                        const QString &caption, QColor back = QColor(), bool autoSize = false) {
        static const char *const windowNames[] = {"Tutor", "About", "support", "store"};
        QTest::addRow("%s %s", windowNames[window], name)
            << window << name << container << platform::TwipsRect(b.left, b.top, b.width, b.height) << autoSize
            << font << caption << back;
    };
    const QColor white = platform::White, blue = platform::LightBlue, yellow = platform::LightYellow,
                 salmon = platform::Salmon;
    const QFont plain = platform::DefaultFont();
    row(Help, "lblTitle", "diaHelp", {120, 240, 8415, 855}, sans(9.75), "", white);
    row(Help, "cmdExit", "diaHelp", {9000, 240, 1215, 375}, plain, "E&xit");
    row(Help, "fraOperators", "diaHelp", {120, 1320, 3855, 2655}, sans(9.75),
        "Legal operators in order of precedence:");
    row(Help, "lblOpsSym", "fraOperators", {120, 360, 735, 255}, plain, "Symbol", white);
    row(Help, "lblOpsExpl", "fraOperators", {1080, 360, 1215, 255}, plain, "Explanation", white);
    row(Help, "lblOpsExm", "fraOperators", {2520, 360, 1215, 255}, plain, "Example", white);
    row(Help, "lblOpsExample", "fraOperators", {2520, 615, 1215, 1815}, sans(9.75), "", blue);
    row(Help, "fraFunctions", "diaHelp", {120, 4080, 3855, 3975}, sans(9.75), "Built In Functions:");
    row(Help, "Label4", "fraFunctions", {120, 360, 735, 255}, plain, "Symbol", white);
    row(Help, "Label6", "fraFunctions", {2520, 360, 1215, 255}, plain, "Example", white);
    row(Help, "lblFuncSymbol", "fraFunctions", {120, 615, 735, 3240}, sans(9.75), "", blue);
    row(Help, "fraExamples", "diaHelp", {4200, 1320, 6375, 6735}, sans(9.75), "Examples");
    row(Help, "lblDescription", "fraExamples", {360, 600, 5655, 2175}, sans(12), "", white);
    row(Help, "fraValues", "fraExamples", {120, 3000, 2295, 1695}, sans(9.75, platform::Bold), platform::ValuesCaption);
    row(Help, "lblFrom_1", "fraValues", {315, 360, 450, 240}, sans(9.75), "Start:", QColor(), true);
    row(Help, "lbl_1", "fraValues", {840, 360, 1215, 255}, plain, "-10", white);
    row(Help, "lblInc", "fraValues", {465, 1320, 300, 240}, sans(9.75), "Inc:", QColor(), true);
    row(Help, "txtInc", "fraValues", {840, 1320, 1245, 285}, plain, ".1");
    row(Help, "fra_1", "fraExamples", {120, 4800, 6015, 1335}, sans(9.75, platform::Bold), platform::FunctionsCaption);
    row(Help, "lblEqua_2", "fra_1", {240, 600, 1095, 255}, sans(9.75), platform::EquationCaption(1));
    row(Help, "lbl_4", "fra_1", {1560, 600, 4335, 285}, plain, "(X^-3)*Sin(X)", white);
    row(Help, "lbl_5", "fra_1", {1560, 960, 4335, 285}, plain, "X/2+5", white);
    row(About, "picIcon", "frmAbout", {240, 240, 540, 540}, plain, "");
    row(About, "lblDescription", "frmAbout", {1080, 1920, 3885, 330}, plain,
        "Graphing and Solving Complicated Functions");
    row(About, "cmdOK", "frmAbout", {4245, 2625, 1260, 345}, plain, "OK");
    row(About, "cmdSysInfo", "frmAbout", {4260, 3075, 1245, 345}, plain, "&System Info...");
    row(Tech, "Label1", "diaTech", {960, 240, 4155, 300}, sans(12, platform::Bold),
        "For technical support or feedback", yellow);
    row(Tech, "Label5", "diaTech", {960, 545, 4155, 300}, sans(12, platform::Bold), "contact us at:", yellow);
    row(Tech, "Label2", "diaTech", {1080, 1080, 3930, 420}, sans(13.5, platform::Bold), "support@quarro.example",
        salmon, true);
    row(Tech, "Label3", "diaTech", {2880, 1560, 405, 300}, sans(12, platform::Bold), "OR", yellow, true);
    row(Tech, "Label4", "diaTech", {1560, 2040, 2805, 420}, sans(13.5, platform::Bold), "help@quarro.example",
        salmon, true);
    row(Tech, "cmdOk", "diaTech", {4920, 2640, 735, 375}, sans(9.75, platform::Bold), "&Ok");
    row(Store, "cmdVisit", "diaStore", {480, 960, 5175, 495}, sans(9.75, platform::Bold),
        "Click on me to visit our store!");
    row(Store, "cmdExit", "diaStore", {4440, 2520, 1215, 375}, sans(9.75), "E&xit");
}

void tst_Dialogs::controls()
{
    QFETCH(int, window);
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(QColor, back);
    QFETCH(QString, container);
    QFETCH(bool, autoSize);
    QFETCH(QFont, font);
    QFETCH(QString, caption);
    std::unique_ptr<QDialog> dialog(make(window));
    auto *control = dialog->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), container);
    if (autoSize)
        QCOMPARE(control->pos(), place.topLeft());
    else
        QCOMPARE(control->geometry(), place);
    QCOMPARE(control->font(), font);
    QCOMPARE(testing::Caption(control), caption);
    if (back.isValid()) {
        QVERIFY(control->autoFillBackground());
        QCOMPARE(control->palette().color(QPalette::Window), back);
    }
}

void tst_Dialogs::textsFit_data()
{
    QTest::addColumn<int>("window");
    QTest::newRow("Formula Tutor") << int(Help);
    QTest::newRow("About box") << int(About);
    QTest::newRow("support") << int(Tech);
    QTest::newRow("store") << int(Store);
}

// Nothing is cut off: every label's text fits the label, every button's caption the button,
// and every control lies inside its container.
void tst_Dialogs::textsFit()
{
    QFETCH(int, window);
    std::unique_ptr<QDialog> dialog(make(window));
    dialog->show();
    QCOMPARE(testing::CutTexts(dialog.get()), QStringList());
}

void tst_Dialogs::tabOrder_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<QStringList>("chain");
    QTest::newRow("Formula Tutor") << int(Help) << QStringList{"cmdExit", "txtInc", "cmdExit"};
    QTest::newRow("About box") << int(About) << QStringList{"cmdOK", "picIcon", "cmdSysInfo", "cmdOK"};
    QTest::newRow("support: Ok only") << int(Tech) << QStringList{"cmdOk", "cmdOk"};
    QTest::newRow("store") << int(Store) << QStringList{"cmdVisit", "cmdExit", "cmdVisit"};
}

void tst_Dialogs::tabOrder()
{
    QFETCH(QStringList, chain);
    QFETCH(int, window);
    std::unique_ptr<QDialog> dialog(make(window));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    QStringList seen{dialog->focusWidget()->objectName()};
    while (seen.size() < chain.size()) {
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        seen << dialog->focusWidget()->objectName();
    }
    QCOMPARE(seen, chain);
}

void tst_Dialogs::keys_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("key");  // 0: the close box; Enter is the keypad's
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("clicked");
    const auto row = [](const char *tag, int window, int tabs, int key, bool closes, const char *clicked = "") {
        QTest::newRow(tag) << window << tabs << key << closes << QString::fromLatin1(clicked);
    };
    row("Tutor: Esc does nothing", Help, 0, Qt::Key_Escape, false);
    row("Tutor: Enter presses Exit", Help, 0, Qt::Key_Return, true, "cmdExit");
    row("Tutor: Enter in Inc does nothing", Help, 1, Qt::Key_Return, false);
    row("Tutor: keypad Enter in Inc does nothing", Help, 1, Qt::Key_Enter, false);
    row("Tutor: close box", Help, 0, 0, true);
    row("About: Esc closes", About, 0, Qt::Key_Escape, true);
    row("About: Esc from System Info", About, 2, Qt::Key_Escape, true);
    row("About: Enter presses OK", About, 0, Qt::Key_Return, true, "cmdOK");
    row("About: Enter on the icon presses OK", About, 1, Qt::Key_Enter, true, "cmdOK");
    row("About: Enter on System Info presses it", About, 2, Qt::Key_Return, false, "cmdSysInfo");
    row("support: Esc does nothing", Tech, 0, Qt::Key_Escape, false);
    row("support: Enter presses Ok", Tech, 0, Qt::Key_Return, true, "cmdOk");
    row("store: Esc does nothing", Store, 0, Qt::Key_Escape, false);
    row("store: Enter visits", Store, 0, Qt::Key_Return, true, "cmdVisit");
    row("store: Enter on Exit", Store, 1, Qt::Key_Return, true, "cmdExit");
    row("store: close box", Store, 0, 0, true);
}

void tst_Dialogs::keys()
{
    QFETCH(int, window);
    QFETCH(int, tabs);
    QFETCH(int, key);
    QFETCH(bool, closes);
    QFETCH(QString, clicked);
    bool closed = false;
    QStringList pressed;
    testing::OnNextModal([&](QWidget *w) {
        if (!QTest::qWaitForWindowActive(w))
            qWarning("dialog did not become active");
        for (QPushButton *b : w->findChildren<QPushButton *>())
            connect(b, &QPushButton::clicked, w, [&pressed, b] { pressed << b->objectName(); });
        for (int i = 0; i < tabs; ++i)
            QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
        if (key)
            QTest::keyClick(w->focusWidget(), Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        else
            w->close();
        closed = !w->isVisible();
        w->close();
    });
    platform::ShowModal(make(window));
    QCOMPARE(closed, closes);
    QCOMPARE(pressed, clicked.isEmpty() ? QStringList() : QStringList{clicked});
    QCOMPARE(browser.urls.size(), int(clicked == "cmdVisit"));
}

void tst_Dialogs::tutorColumns_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("operator symbols") << "lblOpsSymbol" << QStringList{"", "^", "-", "*", "/", "+", "-"};
    QTest::newRow("operator explanations")
        << "lblOpsExplanation" << QStringList{"", "Exponent", "Negation", "Multiply", "Divide", "Add", "Subtract"};
    QTest::newRow("operator examples")
        << "lblOpsExample" << QStringList{"", "X^2 or X^-3", "-X", "2*X", "X/2", "X+2", "X-5"};
    QTest::newRow("function symbols") << "lblFuncSymbol"
                                      << QStringList{"", "Abs", "Atn", "Cos", "Exp", "Fix", "Int", "Log", "Rnd",
                                                     "Sgn", "Sin", "Sqr", "Tan"};
    QTest::newRow("function explanations, Fix and Int alike")
        << "lblFuncExplanation"
        << QStringList{"", "Absolute", "Arctangent", "Cosine", "e raised to X", "Integer of X", "Integer of X",
                       "Log of X", "Random No", "-1,0,1", "Sine", "Square Root", "Tangent"};
    QTest::newRow("function examples") << "lblFuncExample"
                                       << QStringList{"", "Abs(X)", "Atn(X)", "Cos(X)", "Exp(X)", "Fix(X)", "Int(X)",
                                                      "Log(X)", "Rnd(X)", "Sgn(X)", "Sin(X)", "Sqr(X)", "Tan(X)"};
}

void tst_Dialogs::tutorColumns()
{
    QFETCH(QString, column);
    QFETCH(QStringList, lines);
    diaHelp dialog;
    QVERIFY(dialog.findChild<QLabel *>(column)->text().isEmpty());
    dialog.show();
    QCOMPARE(dialog.findChild<QLabel *>(column)->text(), lines.join(Crlf));
}

void tst_Dialogs::tutorColumnsLineUp_data()
{
    QTest::addColumn<QStringList>("columns");
    QTest::newRow("operators") << QStringList{"lblOpsSymbol", "lblOpsExplanation", "lblOpsExample"};
    QTest::newRow("functions") << QStringList{"lblFuncSymbol", "lblFuncExplanation", "lblFuncExample"};
}

// Row k of a table stands at the same height in its three columns: same font, same top,
// the same number of lines, drawn from the top.
void tst_Dialogs::tutorColumnsLineUp()
{
    QFETCH(QStringList, columns);
    diaHelp dialog;
    dialog.show();
    const auto *first = dialog.findChild<QLabel *>(columns.first());
    for (const QString &name : columns) {
        const auto *label = dialog.findChild<QLabel *>(name);
        QCOMPARE(label->font(), first->font());
        QCOMPARE(label->y(), first->y());
        QCOMPARE(label->alignment(), Qt::AlignHCenter | Qt::AlignTop);
        QVERIFY(!label->wordWrap());
        QCOMPARE(label->text().count(Crlf), first->text().count(Crlf));
    }
}

void tst_Dialogs::tutorTexts()
{
    diaHelp dialog;
    dialog.show();
    QCOMPARE(dialog.lblTitle->text(),
             "Following are the rules and some examples.\r\n\r\n"
             "Equations must be entered using an X (or x) as the argument. For example: 5*Sin(X).");
    QCOMPARE(dialog.lblDescription->text(),
             "The following illustrates entries for these equations:\r\n\r\n"
             "   X^2 -5X + 3    {X Squared minus 5 X plus 3}\r\n"
             "   X^-3 * Sin(X)  {One over X qubed times Sine of X}\r\n"
             "   X/2 + 5            {One half of X plus 5}\r\n\r\n"
             "   For X equal -10 to 10.");
}

// Each opening starts from the design: at the top-left corner, the Inc box reset, and the
// same texts, none appended twice.
void tst_Dialogs::tutorOpensAfresh()
{
    QStringList texts[2];
    QPoint where[2];
    QString inc[2];
    for (int opening = 0; opening < 2; ++opening) {
        testing::OnNextModal([&, opening](QWidget *w) {
            where[opening] = w->pos();
            inc[opening] = w->findChild<platform::TextBox *>("txtInc")->text();
            for (const QLabel *label : w->findChildren<QLabel *>())
                texts[opening] << label->text();
            w->move(300, 200);
            w->findChild<platform::TextBox *>("txtInc")->setText("5");
            testing::Click(w->findChild<QPushButton *>("cmdExit"));
        });
        platform::ShowModal(new diaHelp);
    }
    QCOMPARE(where[0], QPoint(0, 0));
    QCOMPARE(where[1], QPoint(0, 0));
    QCOMPARE(inc[1], QStringLiteral(".1"));
    QVERIFY(!texts[0].isEmpty());
    QCOMPARE(texts[1], texts[0]);
}

void tst_Dialogs::aboutTexts_data()
{
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QList<int>>("version");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("versionText");
    QTest::newRow("this release") << false << "Tarnwick" << QList<int>() << "About Tarnwick" << "Version 1.0.0";
    QTest::newRow("no leading zeros") << true << "Tarnwick" << QList<int>{1, 0, 12} << "About Tarnwick"
                                      << "Version 1.0.12";
    QTest::newRow("other title") << true << "Plotter" << QList<int>{10, 2, 3} << "About Plotter" << "Version 10.2.3";
}

void tst_Dialogs::aboutTexts()
{
    QFETCH(QString, title);
    QFETCH(bool, replace);
    QFETCH(QString, caption);
    QFETCH(QString, versionText);
    if (replace) {
        QFETCH(QList<int>, version);
        platform::ReplaceApp(platform::AppInfo{title, version[0], version[1], version[2], "Notice"});
    }
    frmAbout about;
    QCOMPARE(about.windowTitle(), caption);
    QCOMPARE(about.lblTitle->text(), title);
    QCOMPARE(about.lblVersion->text(), versionText);
    QCOMPARE(about.lblCopyRight->text(), platform::App().legalCopyright);
    QVERIFY(about.lblDisclaimer->text().contains("Quarro"));
    QVERIFY(about.cmdOK->isDefault());
    QVERIFY(!about.picIcon->pixmap().isNull());
    QCOMPARE(about.lblTitle->palette().color(QPalette::WindowText), QColor(Qt::black));
    if (!replace)
        QVERIFY(about.lblCopyRight->text().contains("Quarro"));
}

void tst_Dialogs::aboutSeparator()
{
    frmAbout about;
    const auto *grey = about.findChild<QWidget *>("Line1(1)");
    const auto *white = about.findChild<QWidget *>("Line1(0)");
    QVERIFY(grey && white);
    QCOMPARE(grey->geometry(), QRect(6, 163, 372, 1));
    QCOMPARE(white->geometry(), QRect(7, 164, 371, 2));
    QCOMPARE(grey->palette().color(QPalette::Window), QColor(128, 128, 128));
    QCOMPARE(white->palette().color(QPalette::Window), platform::White);
}

void tst_Dialogs::sysInfo_data()
{
    QTest::addColumn<int>("firstType");  // -1: the first key is missing; 0: it has no PATH value
    QTest::addColumn<QByteArray>("firstData");
    QTest::addColumn<int>("secondType");  // -1: the second key is missing
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("startWorks");
    QTest::addColumn<bool>("throws");
    QTest::addColumn<QStringList>("starts");
    QTest::addColumn<QStringList>("fileTests");
    QTest::addColumn<bool>("secondRead");
    QTest::addColumn<bool>("message");
    // The second key, where present, names the folder C:\Tools.
    const auto row = [](const char *tag, int firstType, const QByteArray &firstData, int secondType,
                        const QStringList &files, const QStringList &starts, const QStringList &fileTests,
                        bool secondRead, bool message, bool startWorks = true, bool throws = false) {
        QTest::newRow(tag) << firstType << firstData << secondType << files << startWorks << throws << starts
                           << fileTests << secondRead << message;
    };
    const QByteArray nul(1, '\0');
    const QByteArray path = QByteArray("/opt/msinfo") + nul;
    const QString tool = QStringLiteral("C:\\Tools\\MSINFO32.EXE");
    const QByteArray long1023 = "/" + QByteArray(1022, 'a');
    const QStringList none;
    row("full path: started without file test or second key", 1, path, 1, none, {"/opt/msinfo"}, none, false, false);
    row("first key missing, folder holds the tool", -1, {}, 1, {tool}, {tool}, {tool}, true, false);
    row("no PATH value, folder holds the tool", 0, {}, 1, {tool}, {tool}, {tool}, true, false);
    row("folder lacks the tool: message, nothing started", -1, {}, 1, none, none, {tool}, true, true);
    row("neither key: message", -1, {}, -1, none, none, none, true, true);
    row("no terminating NUL: last character kept", 1, "/usr/bin/tool", -1, none, {"/usr/bin/tool"}, none, false,
        false);
    row("1023 characters fit", 1, long1023 + nul, -1, none, {QString(long1023)}, none, false, false);
    row("1024 characters count as failed", 1, long1023 + "b" + nul, -1, none, none, none, true, true);
    row("32-bit number, in decimal", 4, QByteArray("\x78\x56\x34\x12", 4), -1, none, {"305419896"}, none, false,
        false);
    row("32-bit number with small bytes", 4, QByteArray("\x02\x01\0\0", 4), -1, none, {"258"}, none, false, false);
    row("other type reads as empty: start fails, message", 3, QByteArray("\x01\x02", 2), 1, {tool}, {""}, none,
        false, true);
    row("start fails: message", 1, path, -1, none, {"/opt/msinfo"}, none, false, true, false);
    row("store raises an error: message", 1, path, -1, none, none, none, false, true, true, true);
}

void tst_Dialogs::sysInfo()
{
    QFETCH(int, firstType);
    QFETCH(QByteArray, firstData);
    QFETCH(int, secondType);
    QFETCH(QStringList, files);
    QFETCH(bool, startWorks);
    QFETCH(bool, throws);
    QFETCH(QStringList, starts);
    QFETCH(QStringList, fileTests);
    QFETCH(bool, secondRead);
    QFETCH(bool, message);
    fake.keys.clear();
    if (firstType >= 0)
        fake.keys[ToolKey];
    if (firstType > 0)
        fake.keys[ToolKey]["PATH"] = {std::uint32_t(firstType), firstData};
    if (secondType > 0)
        fake.keys[LocationKey]["MSINFO"] = {std::uint32_t(secondType), QByteArray("C:\\Tools", 9)};
    fake.files = files;
    fake.startWorks = startWorks;
    fake.queryThrows = throws;

    frmAbout about;
    about.show();
    testing::ShownMessage shown;
    testing::AnswerNextMessage(&shown);
    testing::Click(about.cmdSysInfo);
    testing::CancelPendingModals();

    QCOMPARE(fake.starts, starts);
    QCOMPARE(fake.fileTests, fileTests);
    QCOMPARE(fake.openedKeys.contains(LocationKey), secondRead);
    QCOMPARE(fake.closes, fake.opens);
    QCOMPARE(shown.shown, message);
    if (shown.shown) {
        QCOMPARE(shown.title, QStringLiteral("Tarnwick"));
        QCOMPARE(shown.text, QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(shown.icon, int(QMessageBox::NoIcon));
        QCOMPARE(shown.buttons, int(QMessageBox::Ok));
    }
    QVERIFY(about.isVisible());
}

void tst_Dialogs::sysInfoOnThisSystem_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("started");
    QTest::newRow("none installed: message") << QStringList() << QString();
    QTest::newRow("one installed") << QStringList{"kinfocenter"} << "kinfocenter";
    QTest::newRow("the preferred one of two") << QStringList{"kinfocenter", "hardinfo"} << "hardinfo";
    // A name with an extension stands for a file of that name without it and without the exec bit.
    QTest::newRow("not executable: ignored") << QStringList{"hardinfo.txt"} << QString();
}

// The lookup of this system over a PATH the test controls; only the start is replaced.
void tst_Dialogs::sysInfoOnThisSystem()
{
    QFETCH(QString, started);
    QFETCH(QStringList, installed);
    QTemporaryDir dir;
    for (const QString &name : installed) {
        const QString path = dir.filePath(name.section('.', 0, 0));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (!name.contains('.'))
            file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", dir.path().toLocal8Bit());
    QStringList starts;
    platform::SystemInfo() = platform::NativeSystemInfo();
    platform::SystemInfo().startProgram = [&starts](const QString &path) {
        starts << path;
        return true;
    };
    platform::ConfigKey key = 0;
    const long secondKey =
        platform::SystemInfo().openKey(platform::LocalMachine, LocationKey, platform::KeyAllAccess, &key);

    frmAbout about;
    testing::ShownMessage message;
    testing::AnswerNextMessage(&message);
    about.StartSysInfo();
    testing::CancelPendingModals();
    qputenv("PATH", savedPath);

    QVERIFY(secondKey != platform::ConfigSuccess);
    QCOMPARE(starts, started.isEmpty() ? QStringList() : QStringList{dir.filePath(started)});
    QCOMPARE(message.shown, started.isEmpty());
}

void tst_Dialogs::nativeFileTestAndStart()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("MSINFO32.EXE"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const platform::SystemInfoCalls calls = platform::NativeSystemInfo();
    QCOMPARE(calls.fileName(dir.filePath("MSINFO32.EXE")), QStringLiteral("MSINFO32.EXE"));
    QCOMPARE(calls.fileName(dir.filePath("missing")), QString());
    QCOMPARE(calls.fileName(dir.path()), QString());
    QCOMPARE(calls.fileName(QString()), QString());
    QVERIFY(!calls.startProgram(QString()));
    QVERIFY(!calls.startProgram(dir.filePath("missing")));
}

// A visit opens the address in the caption and closes the dialog; the next opening is a
// fresh dialog whose visit opens the page again.
void tst_Dialogs::storeVisitTwice()
{
    for (int visit = 1; visit <= 2; ++visit) {
        QString caption;
        bool closed = false;
        testing::OnNextModal([&](QWidget *w) {
            caption = w->windowTitle();
            testing::Click(w->findChild<QPushButton *>("cmdVisit"));
            closed = !w->isVisible();
            w->close();
        });
        platform::ShowModal(new diaStore);
        QVERIFY(closed);
        QCOMPARE(browser.urls.size(), visit);
        QCOMPARE(browser.urls.last().toString(), caption);
    }
}

// Without a browser the user is told where the store is, the address whole on a line of its
// own with nothing attached; the dialog closes all the same. (The stray % keeps the address
// from opening.)
void tst_Dialogs::storeVisitWithoutBrowser()
{
    const QString address = QStringLiteral("https://www.quarro.example/store%");
    bool closed = false;
    bool shown = false;
    QString title;
    QStringList lines;
    bool addressFits = false;
    testing::OnNextModal([&](QWidget *w) {
        w->setWindowTitle(address);
        testing::OnNextModal([&](QWidget *m) {
            auto *box = qobject_cast<QMessageBox *>(m);
            if (box) {
                shown = true;
                title = box->windowTitle();
                lines = box->text().split(QLatin1Char('\n'));
                auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
                addressFits = label && label->fontMetrics().horizontalAdvance(address) <= label->contentsRect().width();
            }
            m->close();
        });
        testing::Click(w->findChild<QPushButton *>("cmdVisit"));
        closed = !w->isVisible();
        w->close();
    });
    platform::ShowModal(new diaStore);
    QVERIFY(closed);
    QVERIFY(browser.urls.isEmpty());
    QVERIFY(shown);
    QCOMPARE(title, QStringLiteral("Quarro"));
    QVERIFY2(lines.contains(address), qPrintable(lines.join(QLatin1Char('|'))));
    QVERIFY(addressFits);
}

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
