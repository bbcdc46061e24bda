#include "LiveInboxConnection.h"

#include "WireDecoder.h"

#include "records/RecordText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QStringDecoder>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype errorTextBytes = 500;
// Spare bytes kept behind the output so the JSON decoder can read it in place.
constexpr qsizetype outputPadding = 256;
constexpr qsizetype initialOutputCapacity = 64 * 1024;
constexpr qint64 mebibyte = 1024 * 1024;

const QString configurationPath = QStringLiteral(".config/tandrel/notch.json");

// A failure of the operating system, described the way the platform words it, naming what failed.
Failure platformFailure(int error, const QString &subject)
{
    return Failure::system(error, subject + QStringLiteral(": ") + qt_error_string(error));
}

Result<QByteArray> readWholeFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    int fd = -1;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return platformFailure(errno, path);

    QByteArray bytes;
    struct stat status = {};
    constexpr qsizetype chunk = 4096;
    // Sized so that a regular file is read in one pass (plus the read that sees its end).
    if (::fstat(fd, &status) == 0 && status.st_size > 0)
        bytes.reserve(qsizetype(status.st_size) + outputPadding + chunk);
    for (;;) {
        if (bytes.capacity() - bytes.size() < outputPadding + chunk)
            bytes.reserve(bytes.size() * 2 + outputPadding + chunk);
        const qsizetype room = bytes.capacity() - bytes.size() - outputPadding;
        const qsizetype old = bytes.size();
        bytes.resize(old + room);
        const ssize_t got = ::read(fd, bytes.data() + old, size_t(room));
        if (got < 0) {
            const int error = errno;
            bytes.resize(old);
            if (error == EINTR)
                continue;
            ::close(fd);
            return platformFailure(error, path);
        }
        bytes.resize(old + got);
        if (got == 0)
            break;
    }
    ::close(fd);
    return bytes;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// The description of a failed run: the start of the output as strict UTF-8, trimmed.
QString describeOutput(const QByteArray &output)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder(QByteArrayView(output).first(std::min(output.size(), errorTextBytes)));
    if (decoder.hasError())
        return QCoreApplication::translate("LiveInboxConnection", "Tandrel connection failed");
    return text.trimmed();
}

struct LaunchError
{
    int code;
    QString reason;
};

// The process object reports a failed start as text only ("execvp: " and the system's wording of the
// error); the error number is recovered from that wording, or else by asking the file system why the
// program cannot be run.
LaunchError launchError(const QString &program, const QString &errorString)
{
    const qsizetype colon = errorString.indexOf(QStringLiteral(": "));
    const QString wording = colon >= 0 ? errorString.mid(colon + 2) : errorString;
    for (int code = 1; code < 256; ++code) {
        if (qt_error_string(code) == wording)
            return {code, wording};
    }
    const QByteArray name = QFile::encodeName(program);
    const int code = ::access(name.constData(), X_OK) != 0 ? errno : ENOEXEC;
    return {code, errorString};
}

QString overflowDescription(qint64 limit)
{
    const QString amount = limit % mebibyte == 0 ? QStringLiteral("%1 MiB").arg(limit / mebibyte)
                                                 : QStringLiteral("%1 bytes").arg(limit);
    return QCoreApplication::translate("LiveInboxConnection", "The Tandrel tool printed more than %1.").arg(amount);
}

} // namespace

LiveInboxConnection::LiveInboxConnection(Scheduler &scheduler, QObject *parent)
    : LiveInboxConnection(scheduler, Options{}, parent)
{
}

LiveInboxConnection::LiveInboxConnection(Scheduler &scheduler, Options options, QObject *parent)
    : QObject(parent), m_scheduler(scheduler),
      m_homeDirectory(options.homeDirectory.isEmpty() ? QDir::homePath() : options.homeDirectory),
      m_temporaryDirectory(options.temporaryDirectory.isEmpty() ? QDir::tempPath()
                                                                : options.temporaryDirectory),
      m_outputLimit(options.outputLimit)
{
}

LiveInboxConnection::~LiveInboxConnection()
{
    m_queue.clear();
    m_current.reset();
    if (m_watchdog)
        m_scheduler.cancel(m_watchdog);
    if (m_killTimer)
        m_scheduler.cancel(m_killTimer);
    if (m_process) {
        disconnect(m_process, nullptr, this, nullptr);
        if (m_process->state() == QProcess::NotRunning) {
            m_process->deleteLater();
        } else {
            // The process object reaps the killed tool and then deletes itself; nothing here waits. Until
            // then the application owns it, so that it goes with the application at the latest even when
            // the event loop never runs again.
            m_process->setParent(QCoreApplication::instance());
            connect(m_process, &QProcess::stateChanged, m_process,
                    [process = m_process](QProcess::ProcessState state) {
                        if (state == QProcess::NotRunning)
                            process->deleteLater();
                    });
            m_process->kill();
        }
        m_process = nullptr;
    }
    removeBodyDirectory();
}

void LiveInboxConnection::run(const QString &command, const std::optional<QString> &messageID,
                              const std::optional<QString> &body, const QStringList &replyArguments,
                              Completion done)
{
    m_queue.push_back(Job{command, messageID, body, replyArguments, std::move(done)});
    scheduleNext();
}

QStringList LiveInboxConnection::replyArguments(const QString &accountID, bool personal,
                                                const QString &senderAccountID, const QString &conversationID,
                                                const std::optional<QString> &serverMessageID)
{
    QStringList arguments{QStringLiteral("--account-id"), accountID};
    if (personal) {
        const QList<uint> codePoints = senderAccountID.toUcs4();
        const bool numeric = std::all_of(codePoints.begin(), codePoints.end(),
                                         [](uint codePoint) { return QChar::isNumber(char32_t(codePoint)); });
        arguments << QStringLiteral("--recipient-id")
                  << (numeric ? QStringLiteral("x:") + senderAccountID : senderAccountID);
    } else {
        arguments << QStringLiteral("--conversation-id") << conversationID << QStringLiteral("--reply-to")
                  << serverMessageID.value_or(QString());
    }
    return arguments;
}

void LiveInboxConnection::scheduleNext()
{
    if (m_current || m_startScheduled || m_queue.empty())
        return;
    m_startScheduled = true;
    // Always from the event loop: completions never run inside run() or inside another completion.
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_startScheduled = false;
            startNext();
        },
        Qt::QueuedConnection);
}

Result<NotchConfiguration> LiveInboxConnection::loadConfiguration() const
{
    Result<QByteArray> bytes = readWholeFile(QDir(m_homeDirectory).filePath(configurationPath));
    if (!bytes)
        return bytes.failure();
    return WireDecoder::configuration(*bytes);
}

void LiveInboxConnection::startNext()
{
    if (m_current || m_queue.empty())
        return;
    m_current.emplace(std::move(m_queue.front()));
    m_queue.pop_front();
    const Job &job = *m_current;

    if (!m_configuration) {
        Result<NotchConfiguration> loaded = loadConfiguration();
        if (!loaded)
            return finish(loaded.failure());
        m_configuration = std::move(loaded).value();
    }
    const NotchConfiguration &configuration = *m_configuration;
    if (configuration.provider != "x" && configuration.provider != "google")
        return finish(Failure::tandrel(1, QCoreApplication::translate("LiveInboxConnection", "Configure your Tandrel account first.")));

    QStringList arguments{RecordText::fromUtf8(configuration.cli), QStringLiteral("desktop"), job.command,
                          QStringLiteral("--provider"), RecordText::fromUtf8(configuration.provider)};
    if (job.messageID)
        arguments << QStringLiteral("--message") << *job.messageID;
    arguments << job.replyArguments;
    if (job.body) {
        Result<QString> bodyFile = writeBody(*job.body);
        if (!bodyFile)
            return finish(bodyFile.failure());
        arguments << QStringLiteral("--body-file") << *bodyFile;
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("INBOX_URL"), RecordText::fromUtf8(configuration.origin));
    environment.insert(QStringLiteral("INBOX_CONFIG_DIR"), RecordText::fromUtf8(configuration.config));
    environment.insert(QStringLiteral("TANDREL_NO_UPDATE_CHECK"), QStringLiteral("1"));

    // `node` is a file path: a relative one names a file below the working directory and is never
    // looked up on the search path.
    const QString node = RecordText::fromUtf8(configuration.node);
    const QString program = QDir::isAbsolutePath(node) ? node : QDir::current().absoluteFilePath(node);

    m_output = QByteArray();
    m_output.reserve(initialOutputCapacity);
    m_outputOverflowed = false;
    m_signalSent = 0;

    // Not a child of this object: a tool still running when the connection goes away is killed and
    // reaped by its process object, which then deletes itself.
    m_process = new QProcess;
    m_process->setProgram(program);
    m_process->setArguments(arguments);
    m_process->setProcessEnvironment(environment);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setInputChannelMode(QProcess::ForwardedInputChannel);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &LiveInboxConnection::readOutput);
    connect(m_process, &QProcess::started, this, &LiveInboxConnection::processStarted);
    connect(m_process, &QProcess::finished, this, &LiveInboxConnection::processFinished);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            processFailedToStart();
    });
    // May report a failure to start (and finish the job) before it returns; nothing follows it here.
    m_process->start();
}

Result<QString> LiveInboxConnection::writeBody(const QString &body)
{
    const QString directory = QDir(m_temporaryDirectory)
                                  .filePath(QStringLiteral("tandrel-reply-") +
                                            QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
    const QByteArray directoryName = QFile::encodeName(directory);
    if (::mkdir(directoryName.constData(), 0700) != 0)
        return platformFailure(errno, directory);
    m_bodyDirectory = directory;
    ::chmod(directoryName.constData(), 0700); // exactly 0700 whatever the umask

    const Failure notPrepared = Failure::tandrel(1, QCoreApplication::translate("LiveInboxConnection", "Could not prepare the reply."));
    const QString file = directory + QStringLiteral("/body.txt");
    const int fd = ::open(QFile::encodeName(file).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return notPrepared;
    const bool written = writeAll(fd, body.toUtf8()) && ::fchmod(fd, 0600) == 0;
    if (::close(fd) != 0 || !written)
        return notPrepared;
    return file;
}

void LiveInboxConnection::readOutput()
{
    if (!m_process)
        return;
    for (;;) {
        const qint64 available = m_process->bytesAvailable();
        if (available <= 0)
            return;
        if (m_outputOverflowed) {
            m_process->skip(available);
            continue;
        }
        if (m_output.size() + available > m_outputLimit) {
            // Stop the tool rather than hold an unbounded amount of output.
            m_outputOverflowed = true;
            m_output = QByteArray();
            m_process->skip(available);
            if (m_process->state() != QProcess::NotRunning) {
                m_signalSent = SIGKILL;
                m_process->kill();
            }
            continue;
        }
        const qsizetype old = m_output.size();
        m_output.resize(old + qsizetype(available));
        const qint64 got = m_process->read(m_output.data() + old, available);
        m_output.resize(old + qsizetype(std::max<qint64>(got, 0)));
        if (got <= 0)
            return;
    }
}

void LiveInboxConnection::processStarted()
{
    m_watchdog = m_scheduler.scheduleAwake(watchdogSeconds, [this] {
        m_watchdog = 0;
        watchdogFired();
    });
}

void LiveInboxConnection::watchdogFired()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    if (!m_signalSent)
        m_signalSent = SIGTERM;
    m_process->terminate();
    // A tool that ignores the request is killed after a grace period.
    m_killTimer = m_scheduler.scheduleAwake(killGraceSeconds, [this] {
        m_killTimer = 0;
        if (m_process && m_process->state() != QProcess::NotRunning) {
            m_signalSent = SIGKILL;
            m_process->kill();
        }
    });
}

void LiveInboxConnection::processFailedToStart()
{
    const QString program = m_process->program();
    const LaunchError error = launchError(program, m_process->errorString());
    finish(Failure::system(error.code, program + QStringLiteral(": ") + error.reason));
}

void LiveInboxConnection::processFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    readOutput();
    if (m_outputOverflowed)
        return finish(Failure::tandrel(1, overflowDescription(m_outputLimit)));
    if (exitStatus == QProcess::CrashExit) {
        // Ended by a signal: always a failure. The process object reports the signal's number.
        const int signal = exitCode > 0 ? exitCode : (m_signalSent ? m_signalSent : SIGKILL);
        return finish(Failure::tandrel(signal, describeOutput(m_output)));
    }
    if (exitCode != 0)
        return finish(Failure::tandrel(exitCode, describeOutput(m_output)));
    if (m_output.capacity() - m_output.size() < outputPadding)
        m_output.reserve(m_output.size() + outputPadding);
    finish(std::move(m_output));
}

void LiveInboxConnection::finish(Result<QByteArray> result)
{
    if (m_watchdog)
        m_scheduler.cancel(m_watchdog);
    if (m_killTimer)
        m_scheduler.cancel(m_killTimer);
    m_watchdog = m_killTimer = 0;
    releaseProcess();
    removeBodyDirectory();
    m_output = QByteArray();
    m_outputOverflowed = false;
    m_signalSent = 0;

    Completion done = std::move(m_current->done);
    m_current.reset();
    scheduleNext();
    // Last: the completion may destroy this connection.
    if (done)
        done(std::move(result));
}

void LiveInboxConnection::releaseProcess()
{
    if (!m_process)
        return;
    disconnect(m_process, nullptr, this, nullptr);
    m_process->deleteLater();
    m_process = nullptr;
}

void LiveInboxConnection::removeBodyDirectory()
{
    if (m_bodyDirectory.isEmpty())
        return;
    QDir(m_bodyDirectory).removeRecursively();
    m_bodyDirectory.clear();
}
