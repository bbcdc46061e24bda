// The texts in another language: a pseudo-translation of every text Qt's lupdate finds in the sources,
// compiled by lrelease, changes a title, a menu item and a plural; a language with no catalogue stays
// English, plural forms included.

#include "LaunchOptions.h"
#include "Translations.h"
#include "TrayMenu.h"

#include "inbox/EmptyState.h"
#include "inbox/FilterText.h"
#include "inbox/Inbox.h"
#include "inbox/MessageRowText.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <gtest/gtest.h>

namespace {

bool runTool(const QString &program, const QStringList &arguments, QString *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForStarted(30000) && process.waitForFinished(120000);
    *output = QString::fromLocal8Bit(process.readAll());
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QString pseudo(const QString &source, const QString &form = QString())
{
    return QStringLiteral("⟪") + source + (form.isEmpty() ? QString() : QLatin1Char(' ') + form) + QStringLiteral("⟫");
}

// Fills every message of a template with its pseudo-translation: the source in brackets, and for a count
// one text per plural form, named after it.
bool pseudoTranslate(const QString &from, const QString &to, int *messages)
{
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    QXmlStreamReader reader(&in);
    QXmlStreamWriter writer(&out);
    writer.writeStartDocument();
    writer.writeDTD(QStringLiteral("<!DOCTYPE TS>"));
    writer.writeStartElement(QStringLiteral("TS"));
    writer.writeAttribute(QStringLiteral("version"), QStringLiteral("2.1"));
    writer.writeAttribute(QStringLiteral("language"), QStringLiteral("fr"));
    writer.writeAttribute(QStringLiteral("sourcelanguage"), QStringLiteral("en"));
    bool numerus = false;
    *messages = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("context")) {
            writer.writeStartElement(QStringLiteral("context"));
        } else if (reader.isEndElement() && reader.name() == QLatin1String("context")) {
            writer.writeEndElement();
        } else if (reader.isStartElement() && reader.name() == QLatin1String("name")) {
            writer.writeTextElement(QStringLiteral("name"), reader.readElementText());
        } else if (reader.isStartElement() && reader.name() == QLatin1String("message")) {
            numerus = reader.attributes().value(QStringLiteral("numerus")) == QLatin1String("yes");
        } else if (reader.isStartElement() && reader.name() == QLatin1String("source")) {
            const QString source = reader.readElementText();
            writer.writeStartElement(QStringLiteral("message"));
            if (numerus)
                writer.writeAttribute(QStringLiteral("numerus"), QStringLiteral("yes"));
            writer.writeTextElement(QStringLiteral("source"), source);
            writer.writeStartElement(QStringLiteral("translation"));
            if (numerus) {
                writer.writeTextElement(QStringLiteral("numerusform"), pseudo(source, QStringLiteral("one")));
                writer.writeTextElement(QStringLiteral("numerusform"), pseudo(source, QStringLiteral("many")));
            } else {
                writer.writeCharacters(pseudo(source));
            }
            writer.writeEndElement();
            writer.writeEndElement();
            ++*messages;
        }
    }
    writer.writeEndDocument();
    return !reader.hasError() && out.error() == QFile::NoError;
}

QStringList menuTexts(const TrayMenu &menu)
{
    QStringList texts;
    for (const QAction *action : menu.actions()) {
        if (!action->isSeparator())
            texts << action->text();
    }
    return texts;
}

Message withReplies(int count)
{
    Message message;
    message.scope = InboxScope::personal();
    for (int i = 0; i < count; ++i)
        message.replies.append(DemoReply{});
    return message;
}

class PseudoTranslation : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        directory = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(directory->isValid());
        const QString source = QStringLiteral(TANDREL_SOURCE_DIR);
        const QString templateFile = directory->filePath(QStringLiteral("template.ts"));
        QString output;
        ASSERT_TRUE(runTool(QStringLiteral(LUPDATE_PATH),
                            {QStringLiteral("-silent"), QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                             QStringLiteral("none"), QStringLiteral("-source-language"), QStringLiteral("en"),
                             source + QStringLiteral("/src"), source + QStringLiteral("/qml"), QStringLiteral("-ts"),
                             templateFile},
                            &output))
            << qPrintable(output);
        int messages = 0;
        const QString translation = directory->filePath(QStringLiteral("tandrel-notch_fr.ts"));
        ASSERT_TRUE(pseudoTranslate(templateFile, translation, &messages));
        EXPECT_GT(messages, 50);
        ASSERT_TRUE(runTool(QStringLiteral(LRELEASE_PATH),
                            {QStringLiteral("-silent"), translation, QStringLiteral("-qm"),
                             directory->filePath(QStringLiteral("tandrel-notch_fr.qm"))},
                            &output))
            << qPrintable(output);
    }
    static void TearDownTestSuite() { directory.reset(); }

    static QStringList directories() { return QStringList{directory->path()} + Translations::defaultDirectories(); }

    static inline std::unique_ptr<QTemporaryDir> directory;
};

TEST_F(PseudoTranslation, ChangesATitleAMenuItemAndAPlural)
{
    Translations translations;
    translations.install(QLocale(QLocale::French, QLocale::France), directories());
    EXPECT_EQ(translations.applicationCatalogue(), directory->filePath(QStringLiteral("tandrel-notch_fr.qm")));

    const EmptyState empty = EmptyState::of(false, false, QString(), Inbox::allLabels, InboxFilter::all);
    EXPECT_EQ(empty.title, pseudo(QStringLiteral("You're all caught up")));
    const TrayMenu menu(true);
    EXPECT_EQ(menuTexts(menu),
              (QStringList{pseudo(QStringLiteral("Open inbox")), pseudo(QStringLiteral("Simulate message in another inbox")),
                           pseudo(QStringLiteral("Start at login")), pseudo(QStringLiteral("Quit Tandrel Notch"))}));
    // French counts 0 and 1 with the first form, the rest with the second.
    EXPECT_EQ(MessageRowText::meta(withReplies(1), false, 1).counts,
              QStringList{QStringLiteral("· ") + pseudo(QStringLiteral("1 replies"), QStringLiteral("one"))});
    EXPECT_EQ(MessageRowText::meta(withReplies(2), false, 1).counts,
              QStringList{QStringLiteral("· ") + pseudo(QStringLiteral("2 replies"), QStringLiteral("many"))});
    // A conversation kind's name changes; its raw value, the filter's key, does not.
    EXPECT_EQ(FilterText::kindTitle(ConversationKind::thread), pseudo(QStringLiteral("Thread")));
    EXPECT_EQ(ConversationKinds::rawValue(ConversationKind::thread), QStringLiteral("Thread"));
    // The views' texts: qsTr looks them up under the name of their file.
    EXPECT_EQ(QCoreApplication::translate("NotchHeader", "Search messages"), pseudo(QStringLiteral("Search messages")));
    EXPECT_EQ(QCoreApplication::translate("ScopeMenuText", "Tandrel, %n unread messages across inboxes", nullptr, 3),
              pseudo(QStringLiteral("Tandrel, 3 unread messages across inboxes"), QStringLiteral("many")));
    // The command line's help as well.
    EXPECT_TRUE(LaunchOptions::helpText().contains(pseudo(QStringLiteral("Print this help and exit."))));

    // Qt's own catalogue comes with it, where the system has one.
    if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qt_fr.qm"))) {
        const QString qtText = QCoreApplication::translate("QCommandLineParser", "Unexpected value after '%1'.");
        EXPECT_NE(qtText, QStringLiteral("Unexpected value after '%1'."));
    }

    // Removed, the English texts are back.
    translations.remove();
    EXPECT_EQ(menuTexts(menu).value(0), pseudo(QStringLiteral("Open inbox"))); // a built menu keeps its texts
    EXPECT_EQ(menuTexts(TrayMenu(false)).value(0), QStringLiteral("Open inbox"));
}

TEST_F(PseudoTranslation, ALanguageWithoutACatalogueStaysEnglish)
{
    Translations translations;
    translations.install(QLocale(QLocale::German, QLocale::Germany), directories());
    EXPECT_EQ(translations.applicationCatalogue(), QString());
    EXPECT_EQ(EmptyState::of(false, false, QString(), Inbox::allLabels, InboxFilter::all).title,
              QStringLiteral("You're all caught up"));
    EXPECT_EQ(menuTexts(TrayMenu(false)),
              (QStringList{QStringLiteral("Open inbox"), QStringLiteral("Start at login"), QStringLiteral("Quit Tandrel Notch")}));
    EXPECT_EQ(MessageRowText::meta(withReplies(1), true, 2).counts,
              (QStringList{QStringLiteral("· 2 messages"), QStringLiteral("· 1 reply")}));
    EXPECT_EQ(MessageRowText::meta(withReplies(3), false, 1).counts, QStringList{QStringLiteral("· 3 replies")});
    EXPECT_EQ(QCoreApplication::translate("ScopeMenuText", "Tandrel, %n unread messages across inboxes", nullptr, 1),
              QStringLiteral("Tandrel, 1 unread message across inboxes"));
}

TEST_F(PseudoTranslation, TheProgramSpeaksTheUsersLanguageFromItsFirstLine)
{
    // A catalogue in the user's data directory, and a French session with no display.
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString catalogues = home.filePath(QStringLiteral("share/tandrel-notch/translations"));
    ASSERT_TRUE(QDir().mkpath(catalogues));
    ASSERT_TRUE(QFile::copy(directory->filePath(QStringLiteral("tandrel-notch_fr.qm")),
                            catalogues + QStringLiteral("/tandrel-notch_fr.qm")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE", "LC_MESSAGES"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("share")));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("fr_FR.UTF-8"));
    const auto run = [&](const QStringList &arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TANDREL_NOTCH_PATH), arguments);
        EXPECT_TRUE(process.waitForStarted(30000) && process.waitForFinished(60000));
        return std::pair{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
    };
    const auto [unknownStatus, unknown] = run({QStringLiteral("--frobnicate")});
    EXPECT_EQ(unknownStatus, 2);
    EXPECT_EQ(unknown, QStringLiteral("tandrel-notch: ") +
                           pseudo(QStringLiteral("There is no option %1; tandrel-notch --help lists the options."))
                               .arg(QStringLiteral("--frobnicate")) +
                           QLatin1Char('\n'));
    const auto [helpStatus, help] = run({QStringLiteral("--help")});
    EXPECT_EQ(helpStatus, 0);
    EXPECT_TRUE(help.contains(pseudo(QStringLiteral("Print this help and exit.")))) << qPrintable(help);
    const auto [startStatus, start] = run({});
    EXPECT_EQ(startStatus, 1);
    EXPECT_EQ(start, pseudo(QStringLiteral("tandrel-notch needs an X11 display; under Wayland it runs through XWayland. "
                                           "DISPLAY is not set.")) +
                         QLatin1Char('\n'));
}

} // namespace
