#include "info/frmAbout.h"

#include "platform/AppIcon.h"
#include "platform/AppInfo.h"
#include "platform/Colours.h"
#include "platform/Controls.h"
#include "platform/Program.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <exception>

namespace {

const QString ToolPathValue = QStringLiteral("PATH");
const QString ToolLocationValue = QStringLiteral("MSINFO");
const QString ToolFile = QStringLiteral("\\MSINFO32.EXE");
const QString Unavailable = QStringLiteral("System Information Is Unavailable At This Time");
constexpr std::size_t ValueBufferSize = 1024;

// A straight horizontal line from (x1, y) to (x2, y) in twips, widthPixels thick.
QFrame *horizontalLine(QWidget *parent, const QString &name, int x1, int x2, int y, int widthPixels,
                       const QColor &colour)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::NoFrame);
    const int left = platform::TwipsToPixels(x1);
    line->setGeometry(left, platform::TwipsToPixels(y), platform::TwipsToPixels(x2) - left + 1, widthPixels);
    platform::SetBackColor(line, colour);
    return line;
}

// Closes an opened key on every way out of the lookup; a failing close is ignored.
class OpenedKey
{
public:
    explicit OpenedKey(platform::ConfigKey key) : m_key(key) {}
    ~OpenedKey()
    {
        try {
            if (const auto &close = platform::SystemInfo().closeKey)
                close(m_key);
        } catch (...) {
        }
    }
    OpenedKey(const OpenedKey &) = delete;
    OpenedKey &operator=(const OpenedKey &) = delete;

private:
    platform::ConfigKey m_key;
};

} // namespace

frmAbout::frmAbout()
    : InfoDialog(QStringLiteral("frmAbout"), QString(), 5730, 3555, true)
{
    // The texts are black: the box keeps the theme's face where black reads on it, and the
    // classic light face under a dark theme.
    const QColor face = QApplication::palette().color(QPalette::Window);
    platform::SetBackColor(this, platform::ContrastRatio(face, platform::Black) >= platform::ReadableContrast
                                     ? face
                                     : platform::ButtonFace);
    picIcon = platform::Place(new QLabel(this), "picIcon", {240, 240, 540, 540}, platform::DefaultFont());
    picIcon->setPixmap(platform::AppIcon().pixmap(picIcon->size()));
    picIcon->setFocusPolicy(Qt::StrongFocus);
    // It takes the focus on Tab, so a screen reader must have a name to read.
    picIcon->setAccessibleName(platform::AppTitle() + QStringLiteral(" icon"));
    lblTitle = platform::MakeLabel(this, "lblTitle", "Application Title", {1050, 240, 3885, 480});
    platform::SetForeColor(lblTitle, platform::Black);
    lblVersion = platform::MakeLabel(this, "lblVersion", "Version", {1050, 780, 3885, 225});
    lblCopyRight = platform::MakeLabel(this, "lblCopyRight", "Copy Right", {960, 1200, 4095, 375});
    lblCopyRight->setWordWrap(true);
    lblDescription = platform::MakeLabel(this, "lblDescription", "Graphing and Solving Complicated Functions",
                                         {1080, 1920, 3885, 330});
    platform::SetForeColor(lblDescription, platform::Black);
    // An etched separator: a grey line with a wider white one just below it.
    Line1[1] = horizontalLine(this, platform::ArrayName("Line1", 1), 90, 5654, 2445, 1, platform::Grey);
    Line1[0] = horizontalLine(this, platform::ArrayName("Line1", 0), 105, 5654, 2460, 2, platform::White);
    lblDisclaimer = platform::MakeLabel(
        this, "lblDisclaimer",
        QStringLiteral("Warning: this program is the exclusive property of %1. Unauthorized copying or "
                       "duplication of it, in whole or in part, is strictly forbidden.")
            .arg(platform::MakerName()),
        {255, 2625, 3870, 825});
    lblDisclaimer->setWordWrap(true);
    platform::SetForeColor(lblDisclaimer, platform::Black);
    cmdOK = platform::MakeButton(this, "cmdOK", "OK", {4245, 2625, 1260, 345});
    cmdOK->setDefault(true);
    cmdSysInfo = platform::MakeButton(this, "cmdSysInfo", "&System Info...", {4260, 3075, 1245, 345});

    QWidget::setTabOrder(cmdOK, picIcon);
    QWidget::setTabOrder(picIcon, cmdSysInfo);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOk_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    Form_Load();
}

void frmAbout::Form_Load()
{
    const platform::AppInfo &app = platform::App();
    setWindowTitle(QStringLiteral("About ") + app.title);
    lblVersion->setText(QStringLiteral("Version %1.%2.%3").arg(app.major).arg(app.minor).arg(app.revision));
    lblTitle->setText(app.title);
    lblCopyRight->setText(app.legalCopyright);
}

void frmAbout::cmdOk_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    const auto startTool = [this] {
        QString path;
        // The full path of the tool; failing that, its folder, which must hold the tool file.
        if (!GetKeyValue(platform::LocalMachine, platform::SystemInfoKey, ToolPathValue, path)) {
            if (!GetKeyValue(platform::LocalMachine, platform::SystemInfoLocationKey, ToolLocationValue, path))
                return false;
            if (platform::SystemInfo().fileName(path + ToolFile).isEmpty())
                return false;
            path += ToolFile;
        }
        return platform::SystemInfo().startProgram(path);
    };
    // Every failure of the lookup, the file test or the start ends in the one message.
    bool started = false;
    try {
        started = startTool();
    } catch (const std::exception &) {
    }
    if (started || platform::ProgramEnding())
        return;
    QMessageBox box(QMessageBox::NoIcon, platform::App().title, Unavailable, QMessageBox::Ok, this);
    box.exec();
}

bool frmAbout::GetKeyValue(const platform::ConfigRoot &KeyRoot, const QString &KeyName,
                           const QString &SubKeyRef, QString &KeyVal)
{
    const platform::SystemInfoCalls &calls = platform::SystemInfo();
    platform::ConfigKey key = 0;
    if (calls.openKey(KeyRoot, KeyName, platform::KeyAllAccess, &key) != platform::ConfigSuccess) {
        KeyVal.clear();
        return false;
    }
    const OpenedKey opened(key);

    std::array<char, ValueBufferSize> buffer{};
    auto size = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t type = 0;
    if (calls.queryValue(key, SubKeyRef, &type, buffer, &size) != platform::ConfigSuccess) {
        KeyVal.clear();
        return false;
    }
    // A store that reports more bytes than it had room for is not trusted past the buffer.
    const std::size_t written = std::min<std::size_t>(size, buffer.size());
    switch (type) {
    case platform::ConfigString: {
        // A string value loses its terminating NUL; one stored without it keeps its last character.
        std::size_t length = written;
        if (length > 0 && buffer[length - 1] == '\0')
            --length;
        KeyVal = QString::fromLocal8Bit(buffer.data(), static_cast<qsizetype>(length));
        break;
    }
    case platform::ConfigNumber: {
        // An unsigned 32-bit number, least significant byte first, written in decimal.
        std::uint32_t number = 0;
        for (std::size_t i = std::min<std::size_t>(written, 4); i-- > 0;)
            number = (number << 8) | static_cast<unsigned char>(buffer[i]);
        KeyVal = QString::number(number);
        break;
    }
    default:
        // A value of any other kind counts as read and leaves KeyVal as it was.
        break;
    }
    return true;
}
