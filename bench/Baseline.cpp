// The floor for start-up time and memory: a plain Qt Widgets program that
// shows one window with one label and waits, set up as any such program is.
// Built twice: with a Latin label, and with a Japanese one, which shows what
// the Japanese font alone costs.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
#ifdef BASELINE_JAPANESE
    QLabel label(QStringLiteral(u"日本語のラベル"));
#else
    QLabel label(QStringLiteral("Baseline"));
#endif
    label.show();
    return QApplication::exec();
}
