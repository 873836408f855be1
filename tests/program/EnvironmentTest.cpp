// The program as a user's shell starts it, under conditions it must survive:
// a command line it does not take, the C locale, none of its fonts, and no
// display at all.
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Setting {
    const char* name;
    QStringList arguments;
    QStringList variables; // NAME=value; NAME= removes it
    bool display = true;
};
void PrintTo(const Setting& s, std::ostream* out) { *out << s.name; }
class Environment : public ::testing::TestWithParam<Setting> {};

// Runs `program` for up to `waitMs`; false where it was still running then.
bool Ends(QProcess& process, const QString& program, const QStringList& arguments, int waitMs) {
    process.start(program, arguments);
    if (process.waitForFinished(waitMs)) return true;
    process.kill(), process.waitForFinished();
    return false;
}

} // namespace

TEST_P(Environment, ProgramCopes) {
    const Setting& s = GetParam();
    QTemporaryDir dir;
    QFile fonts(dir.filePath("fonts.conf")); // the system's fonts less the program's two faces
    fonts.open(QIODevice::WriteOnly);
    fonts.write("<fontconfig><include>/etc/fonts/fonts.conf</include><selectfont><rejectfont>"
                "<pattern><patelt name='family'><string>IPAGothic</string></patelt></pattern>"
                "<pattern><patelt name='family'><string>IPAPGothic</string></patelt></pattern>"
                "</rejectfont></selectfont><cachedir>" +
                dir.path().toUtf8() + "</cachedir></fontconfig>");
    fonts.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "QT_QPA_PLATFORM"})
        env.remove(name);
    if (s.display) env.insert("QT_QPA_PLATFORM", "offscreen");
    for (QString variable : s.variables) {
        variable.replace("@FONTS@", fonts.fileName());
        const QString name = variable.section('=', 0, 0), value = variable.section('=', 1);
        value.isEmpty() ? env.remove(name) : env.insert(name, value);
    }
    QProcess program, plain, list;
    program.setProcessEnvironment(env);
    const bool ended = Ends(program, TOLVANE_EXE, s.arguments, s.display ? 2000 : 30000);
    const QString errors = program.readAllStandardError();
    if (!s.display) {
        // Whatever the platform's libraries say first, the last line is ours.
        ASSERT_TRUE(ended && program.exitStatus() == QProcess::NormalExit) << errors.toStdString();
        EXPECT_EQ(program.exitCode(), 1);
        EXPECT_TRUE(("\n" + errors).endsWith("\ntolvane: no display could be opened\n"))
            << errors.toStdString();
        return;
    }
    // Runs until stopped, saying no more than a plain run says.
    EXPECT_FALSE(ended) << "ended with status " << program.exitCode();
    plain.setProcessEnvironment(env);
    Ends(plain, TOLVANE_EXE, {}, 2000);
    const QString said = plain.readAllStandardError();
    for (const QString& line : errors.split('\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(said.contains(line)) << "said: " << line.toStdString();
    if (s.variables.isEmpty()) return;
    list.setProcessEnvironment(env); // the environment hides what it says it hides
    Ends(list, "fc-list", {":", "family"}, 60000);
    const QRegularExpression ipa("^IPAP?Gothic", QRegularExpression::MultilineOption);
    EXPECT_EQ(QString(list.readAll()).contains(ipa), !env.contains("FONTCONFIG_FILE"));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Environment,
    ::testing::Values(
        Setting{"QtOptions", {"-platform", "none", "-style", "bogus", "-reverse", "--help"}, {}},
        Setting{"Words", {"answers.txt", "", "安全運転", "--", QString(100000, 'x')}, {}},
        Setting{"CLocale", {}, {"LANG=C", "LC_ALL=C", "LANGUAGE="}},
        Setting{"NoIpaFonts", {}, {"FONTCONFIG_FILE=@FONTS@"}}, Setting{"NoDisplay", {}, {}, false},
        Setting{"UnusedXDisplay", {}, {"DISPLAY=:1713"}, false},
        Setting{"WaylandWithoutCompositor", {}, {"QT_QPA_PLATFORM=wayland"}, false},
        Setting{"NoSuchPlatform", {}, {"QT_QPA_PLATFORM=nonexistent"}, false}),
    [](const auto& info) { return std::string(info.param.name); });
