// A test-only Qt plugin that lets a test or a script drive the real program from outside.
//
// Qt loads it into any Qt program when QT_PLUGIN_PATH names the folder above generic/ and
// QT_QPA_GENERIC_PLUGINS=hwprobe: the program itself reads no arguments, environment or
// settings, and knows nothing of it. The probe reads one command per line on standard
// input and answers each on standard output with a line starting "ok" or "fail".
// Commands run one after the other; the wait commands poll until their condition holds
// or their time-out passes (20 s unless given in milliseconds as the last word). Actions
// run from the event loop after they have been answered, so a handler that waits in a
// message loop of its own (a print preview) does not hold up the probe.
//
//   windows                      list the top-level windows, one "window ..." line each
//   wait-shown NAME [ms]         a widget of that object or class name is visible
//   wait-hidden NAME [ms]        it exists and is not visible
//   wait-gone NAME [ms]          no widget of that name exists
//   wait-closed [ms]             the widget the last wait-shown found is hidden or gone
//   wait-items NAME COUNT [ms]   a list widget holds at least COUNT lines
//   wait-named NAME WORD [ms]    a widget's accessible name is WORD (a button's face)
//   items NAME                   the lines of a list widget, separated by " | "
//   click NAME                   a left click in the middle of a widget
//   click-item NAME TEXT         a left click on the line of a list whose text is TEXT
//   choose NAME INDEX            picks an entry of a drop-down list, as the user does
//   key NAME KEY                 a key press and release (a Qt key name, e.g. Escape)
//   close NAME                   asks a window to close, as its close box does
//   shot FILE [NAME]             saves the screen as a PNG, or the part a window covers
//   grab NAME FILE               saves a widget as it paints itself
//   sleep MS                     answers after MS milliseconds (scripts only)
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGenericPlugin>
#include <QKeySequence>
#include <QListWidget>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>

#include <cstdio>
#include <deque>
#include <functional>
#include <unistd.h>

namespace {

constexpr int kDefaultTimeoutMs = 20000;
constexpr int kPollMs = 50;

QString classNameOf(const QObject* object)
{
    const QString full = QString::fromLatin1(object->metaObject()->className());
    const qsizetype colons = full.lastIndexOf(QLatin1String("::"));
    return colons < 0 ? full : full.mid(colons + 2);
}

bool nameMatches(const QWidget* w, const QString& name)
{
    return w->objectName() == name || classNameOf(w) == name
        || QString::fromLatin1(w->metaObject()->className()) == name;
}

// The visible widget of that name if there is one, else any of that name.
QWidget* findWidget(const QString& name)
{
    QWidget* hidden = nullptr;
    const QList<QWidget*> all = QApplication::allWidgets();
    for (QWidget* w : all) {
        if (!nameMatches(w, name))
            continue;
        if (w->isVisible())
            return w;
        if (!hidden)
            hidden = w;
    }
    return hidden;
}

QStringList linesOf(QWidget* w)
{
    QStringList lines;
    if (auto* list = qobject_cast<QListWidget*>(w)) {
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
    } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
        if (QAbstractItemModel* model = view->model())
            for (int i = 0; i < model->rowCount(); ++i)
                lines << model->index(i, 0).data().toString();
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < combo->count(); ++i)
            lines << combo->itemText(i);
    }
    return lines;
}

QString describe(const QWidget* w)
{
    const QRect g = w->frameGeometry();
    QString text = QStringLiteral("%1 %2 %3 %4,%5 %6x%7")
                       .arg(classNameOf(w), w->objectName().isEmpty() ? QStringLiteral("-") : w->objectName(),
                            w->isVisible() ? QStringLiteral("visible") : QStringLiteral("hidden"))
                       .arg(g.x())
                       .arg(g.y())
                       .arg(g.width())
                       .arg(g.height());
    if (const auto* box = qobject_cast<const QMessageBox*>(w))
        text += QStringLiteral(" title=\"%1\" text=\"%2\"").arg(box->windowTitle(), box->text());
    return text;
}

class Probe : public QObject {
public:
    Probe()
    {
        notifier_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { readInput(); });
        poll_.setInterval(kPollMs);
        connect(&poll_, &QTimer::timeout, this, [this] { step(); });
    }

private:
    void readInput()
    {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            notifier_->setEnabled(false); // the driver has gone; the program goes on
            return;
        }
        pending_.append(buffer, n);
        qsizetype end;
        while ((end = pending_.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending_.left(end)).trimmed();
            pending_.remove(0, end + 1);
            if (!line.isEmpty())
                queue_.push_back(line);
        }
        if (!busy_)
            next();
    }

    static void answer(const QString& line)
    {
        std::fputs(line.toUtf8().constData(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }

    void next()
    {
        while (!queue_.empty() && !busy_) {
            const QString line = queue_.front();
            queue_.pop_front();
            run(line);
        }
    }

    // Starts a wait: the condition is checked now and then until it holds or time runs out.
    void waitFor(const QString& what, std::function<bool()> condition, int timeoutMs,
                 std::function<QString()> detail = {})
    {
        busy_ = true;
        waitWhat_ = what;
        condition_ = std::move(condition);
        detail_ = std::move(detail);
        timeoutMs_ = timeoutMs;
        clock_.start();
        step();
        if (busy_)
            poll_.start();
    }

    void step()
    {
        if (!busy_)
            return;
        if (condition_()) {
            poll_.stop();
            busy_ = false;
            answer(QStringLiteral("ok ") + waitWhat_ + (detail_ ? QLatin1Char(' ') + detail_() : QString()));
            QTimer::singleShot(0, this, [this] { next(); });
        } else if (clock_.elapsed() >= timeoutMs_) {
            poll_.stop();
            busy_ = false;
            answer(QStringLiteral("fail timeout ") + waitWhat_);
            QTimer::singleShot(0, this, [this] { next(); });
        }
    }

    // Runs an action from the event loop, after the command has been answered.
    void later(std::function<void()> action) { QTimer::singleShot(0, qApp, std::move(action)); }

    static int timeoutOf(const QStringList& words, int index)
    {
        bool ok = false;
        const int ms = words.value(index).toInt(&ok);
        return ok ? ms : kDefaultTimeoutMs;
    }

    void run(const QString& line)
    {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString command = words.value(0);
        const QString name = words.value(1);
        const QString rest = line.section(QLatin1Char(' '), 2).trimmed();

        if (command == QLatin1String("windows")) {
            const QList<QWidget*> tops = QApplication::topLevelWidgets();
            for (const QWidget* w : tops)
                answer(QStringLiteral("window ") + describe(w));
            answer(QStringLiteral("ok windows"));
        } else if (command == QLatin1String("wait-shown")) {
            waitFor(
                line,
                [this, name] {
                    QWidget* w = findWidget(name);
                    if (!w || !w->isVisible())
                        return false;
                    lastShown_ = w;
                    return true;
                },
                timeoutOf(words, 2), [this] { return lastShown_ ? describe(lastShown_) : QString(); });
        } else if (command == QLatin1String("wait-closed")) {
            waitFor(
                line, [this] { return !lastShown_ || !lastShown_->isVisible(); }, timeoutOf(words, 1));
        } else if (command == QLatin1String("wait-hidden")) {
            waitFor(
                line,
                [name] {
                    QWidget* w = findWidget(name);
                    return w && !w->isVisible();
                },
                timeoutOf(words, 2));
        } else if (command == QLatin1String("wait-gone")) {
            waitFor(
                line, [name] { return findWidget(name) == nullptr; }, timeoutOf(words, 2));
        } else if (command == QLatin1String("wait-items")) {
            const int count = words.value(2).toInt();
            waitFor(
                line,
                [name, count] {
                    QWidget* w = findWidget(name);
                    return w && linesOf(w).size() >= count;
                },
                timeoutOf(words, 3));
        } else if (command == QLatin1String("wait-named")) {
            const QString word = words.value(2);
            waitFor(
                line,
                [name, word] {
                    QWidget* w = findWidget(name);
                    return w && w->accessibleName() == word;
                },
                timeoutOf(words, 3));
        } else if (command == QLatin1String("items")) {
            QWidget* w = findWidget(name);
            if (!w)
                answer(QStringLiteral("fail no widget ") + name);
            else
                answer(QStringLiteral("ok ") + linesOf(w).join(QLatin1String(" | ")));
        } else if (command == QLatin1String("click")) {
            QPointer<QWidget> w = findWidget(name);
            if (!w || !w->isVisible()) {
                answer(QStringLiteral("fail no visible widget ") + name);
                return;
            }
            answer(QStringLiteral("ok ") + line);
            later([w] {
                if (w)
                    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
            });
        } else if (command == QLatin1String("click-item")) {
            auto* view = qobject_cast<QAbstractItemView*>(findWidget(name));
            const int row = view ? linesOf(view).indexOf(rest) : -1;
            if (row < 0) {
                answer(QStringLiteral("fail no line \"%1\" in %2").arg(rest, name));
                return;
            }
            const QRect cell = view->visualRect(view->model()->index(row, 0));
            answer(QStringLiteral("ok ") + line);
            QPointer<QWidget> viewport = view->viewport();
            later([viewport, cell] {
                if (viewport)
                    QTest::mouseClick(viewport, Qt::LeftButton, {}, cell.center());
            });
        } else if (command == QLatin1String("choose")) {
            QPointer<QComboBox> combo = qobject_cast<QComboBox*>(findWidget(name));
            const int index = words.value(2).toInt();
            if (!combo || index < 0 || index >= combo->count()) {
                answer(QStringLiteral("fail no entry %1 in %2").arg(index).arg(name));
                return;
            }
            answer(QStringLiteral("ok ") + line);
            later([combo, index] {
                if (!combo)
                    return;
                combo->setCurrentIndex(index);
                emit combo->activated(index);
            });
        } else if (command == QLatin1String("key")) {
            QPointer<QWidget> w = findWidget(name);
            const QKeySequence sequence = QKeySequence::fromString(rest);
            if (!w || sequence.isEmpty()) {
                answer(QStringLiteral("fail no widget or key: ") + line);
                return;
            }
            answer(QStringLiteral("ok ") + line);
            const Qt::Key key = sequence[0].key();
            later([w, key] {
                if (w)
                    QTest::keyClick(w, key);
            });
        } else if (command == QLatin1String("close")) {
            QPointer<QWidget> w = findWidget(name);
            if (!w) {
                answer(QStringLiteral("fail no widget ") + name);
                return;
            }
            answer(QStringLiteral("ok ") + line);
            later([w] {
                if (w)
                    w->window()->close();
            });
        } else if (command == QLatin1String("shot")) {
            QScreen* screen = QGuiApplication::primaryScreen();
            QRect area;
            if (!rest.isEmpty()) {
                QWidget* w = findWidget(rest);
                if (!w) {
                    answer(QStringLiteral("fail no widget ") + rest);
                    return;
                }
                area = w->window()->frameGeometry();
            }
            QPixmap picture;
            if (screen)
                picture = area.isEmpty()
                    ? screen->grabWindow(0)
                    : screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
            if (!picture.isNull() && picture.save(name, "PNG"))
                answer(QStringLiteral("ok ") + line);
            else
                answer(QStringLiteral("fail cannot save ") + name);
        } else if (command == QLatin1String("grab")) {
            QWidget* w = findWidget(name);
            if (w && w->grab().save(rest, "PNG"))
                answer(QStringLiteral("ok ") + line);
            else
                answer(QStringLiteral("fail cannot grab ") + name);
        } else if (command == QLatin1String("sleep")) {
            const int ms = name.toInt();
            waitFor(
                line, [ms, this] { return clock_.elapsed() >= ms; }, ms + 1000);
        } else {
            answer(QStringLiteral("fail unknown command: ") + line);
        }
    }

    QSocketNotifier* notifier_ = nullptr;
    QByteArray pending_;
    std::deque<QString> queue_;
    bool busy_ = false;
    QTimer poll_;
    QElapsedTimer clock_;
    QString waitWhat_;
    std::function<bool()> condition_;
    std::function<QString()> detail_;
    int timeoutMs_ = kDefaultTimeoutMs;
    QPointer<QWidget> lastShown_;
};

} // namespace

class HwProbePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "probe.json")
public:
    QObject* create(const QString& name, const QString&) override
    {
        if (name.compare(QLatin1String("hwprobe"), Qt::CaseInsensitive) != 0)
            return nullptr;
        return new Probe;
    }
};

#include "ProbePlugin.moc"
