// The cost of painting alone, as a baseline for DeskPanel's own figure: a window of the
// given size whose whole area is repainted at the given rate, with bars like meters, for
// the given time.
//   repaintprobe WIDTH HEIGHT RATE_HZ SECONDS
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

const char* const Usage = "usage: repaintprobe WIDTH HEIGHT RATE_HZ SECONDS\n"
                          "Shows a window of WIDTH x HEIGHT pixels and repaints all of it RATE_HZ times a\n"
                          "second for SECONDS, then ends: the painting cost of a window without the program\n"
                          "behind it.\n";

class ProbeWindow : public QWidget {
public:
    void advance()
    {
        ++m_frame;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(40, 40, 44));
        constexpr int BarWidth = 6;
        for (int x = 0, n = 0; x + BarWidth <= width(); x += BarWidth + 4, ++n) {
            const int level = (n * 37 + m_frame * 11) % (height() + 1);
            p.fillRect(x, height() - level, BarWidth, level, QColor(60, 200, 80));
        }
    }

private:
    int m_frame = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string_view(argv[1]) == "--help") {
        std::fputs(Usage, stdout);
        return 0;
    }
    const int width = argc == 5 ? std::atoi(argv[1]) : 0;
    const int height = argc == 5 ? std::atoi(argv[2]) : 0;
    const int rate = argc == 5 ? std::atoi(argv[3]) : 0;
    const int seconds = argc == 5 ? std::atoi(argv[4]) : 0;
    if (width <= 0 || height <= 0 || rate <= 0 || rate > 1000 || seconds <= 0) {
        std::fputs(Usage, stderr);
        return 2;
    }
    QApplication app(argc, argv);
    ProbeWindow window;
    window.setWindowTitle(QStringLiteral("repaintprobe"));
    window.resize(width, height);
    window.show();
    QTimer frames;
    QObject::connect(&frames, &QTimer::timeout, &window, &ProbeWindow::advance);
    frames.start(1000 / rate);
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return QApplication::exec();
}
