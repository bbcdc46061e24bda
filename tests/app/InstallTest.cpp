// The installed application and its Debian package: `cmake --install` into a temporary prefix, the desktop
// entry and metadata against the desktop's own validators, and `cpack -G DEB` with its file list and its
// dependencies (the shared libraries' packages and every QML module the views import).

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

const QString buildDir = QStringLiteral(TANDREL_BUILD_DIR);
const QString sourceDir = QStringLiteral(TANDREL_SOURCE_DIR);
const QString appId = QStringLiteral(TANDREL_APP_ID);
const QString version = QStringLiteral(TANDREL_VERSION);
// The web view's module, a plug-in: where it is installed, below the prefix, and its file in the build.
const QString webModuleDir = QStringLiteral(TANDREL_PLUGIN_QML_INSTALL_DIR) + QStringLiteral("/TandrelNotch/Web");
const QString webPlugin = QStringLiteral(TANDREL_WEB_PLUGIN_PATH);

struct Finished
{
    int exitCode = -1;
    QString output;
};

// Runs a program to its end (both output streams together); generous limits, these are real tools.
Finished run(const QString &program, const QStringList &arguments, int timeoutMs = 300000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    process.start(program, arguments);
    if (!process.waitForStarted(30000))
        return Finished{-1, QStringLiteral("cannot start %1").arg(program)};
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return Finished{-1, QStringLiteral("%1 timed out").arg(program)};
    }
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {code, QString::fromUtf8(process.readAll())};
}

QString tool(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

// Regular files below a directory, as paths relative to it.
QSet<QString> filesBelow(const QString &root)
{
    QSet<QString> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.insert(QDir(root).relativeFilePath(it.next()));
    return files;
}

// The keys of a desktop entry's main group.
QHash<QString, QString> desktopEntry(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QHash<QString, QString> keys;
    bool main = false;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')))
            main = line == QLatin1String("[Desktop Entry]");
        else if (const qsizetype equals = line.indexOf(QLatin1Char('=')); main && equals > 0)
            keys.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return keys;
}

QSet<QString> expectedFiles()
{
    return {QStringLiteral("bin/tandrel-notch"), QStringLiteral("share/applications/%1.desktop").arg(appId),
            QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(appId),
            QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId), QStringLiteral("share/man/man1/tandrel-notch.1.gz"),
            QStringLiteral("share/doc/tandrel-notch/copyright"), QStringLiteral("share/doc/tandrel-notch/LICENSE"),
            QStringLiteral("share/tandrel-notch/translations/tandrel-notch_en.qm"),
            webModuleDir + QStringLiteral("/qmldir"), webModuleDir + QStringLiteral("/libtandrel_web.so")};
}

class Installed : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(prefix.isValid());
        const Finished install = run(QStringLiteral(CMAKE_COMMAND_PATH),
                                {QStringLiteral("--install"), buildDir, QStringLiteral("--prefix"), prefix.path()});
        ASSERT_EQ(install.exitCode, 0) << qPrintable(install.output);
    }
    QString path(const QString &relative) const { return prefix.path() + QLatin1Char('/') + relative; }

    QTemporaryDir prefix;
};

TEST_F(Installed, EveryFileLandsInItsFreedesktopPlaceAndNothingElse)
{
    EXPECT_EQ(filesBelow(prefix.path()), expectedFiles());

    const QFileInfo binary(path(QStringLiteral("bin/tandrel-notch")));
    EXPECT_TRUE(binary.isExecutable());
    const Finished versionRun = run(binary.filePath(), {QStringLiteral("--version")}, 60000);
    EXPECT_EQ(versionRun.exitCode, 0);
    EXPECT_EQ(versionRun.output.trimmed(), QStringLiteral("Tandrel Notch ") + version);

    // The icon is the application's own, under its id.
    QFile icon(path(QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(appId)));
    QFile source(sourceDir + QStringLiteral("/resources/social-inbox.svg"));
    ASSERT_TRUE(icon.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
    EXPECT_EQ(icon.readAll(), source.readAll());

    const QHash<QString, QString> entry = desktopEntry(path(QStringLiteral("share/applications/%1.desktop").arg(appId)));
    EXPECT_EQ(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
    EXPECT_EQ(entry.value(QStringLiteral("Name")), QStringLiteral("Tandrel Notch"));
    // Started from the launcher, it opens the panel (of the instance already running, if there is one).
    EXPECT_EQ(entry.value(QStringLiteral("Exec")), QStringLiteral("tandrel-notch --open"));
    EXPECT_EQ(entry.value(QStringLiteral("Icon")), appId);
    EXPECT_EQ(entry.value(QStringLiteral("Categories")), QStringLiteral("Network;InstantMessaging;"));
    EXPECT_EQ(entry.value(QStringLiteral("NoDisplay")), QStringLiteral("false"));
    EXPECT_EQ(entry.value(QStringLiteral("StartupNotify")), QStringLiteral("false"));
    EXPECT_EQ(entry.value(QStringLiteral("Terminal")), QStringLiteral("false"));

    QFile metainfo(path(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId)));
    ASSERT_TRUE(metainfo.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&metainfo);
    QHash<QString, QString> texts;
    QStringList screenshots;
    QStringList urls;
    QString launchable;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        if (name == QLatin1String("component")) {
            EXPECT_EQ(xml.attributes().value(QStringLiteral("type")), QStringLiteral("desktop-application"));
        } else if (name == QLatin1String("image")) {
            screenshots << xml.readElementText();
        } else if (name == QLatin1String("url")) {
            urls << xml.readElementText();
        } else if (name == QLatin1String("launchable")) {
            launchable = xml.readElementText();
        } else if (name == QLatin1String("id") || name == QLatin1String("summary") ||
                   name == QLatin1String("project_license") || name == QLatin1String("metadata_license") ||
                   name == QLatin1String("developer_name")) {
            texts.insert(name, xml.readElementText());
        } else if (name == QLatin1String("description")) {
            texts.insert(name, xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified());
        } else if (name == QLatin1String("release")) {
            EXPECT_EQ(xml.attributes().value(QStringLiteral("version")), version);
        }
    }
    EXPECT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
    EXPECT_EQ(texts.value(QStringLiteral("id")), appId);
    EXPECT_EQ(launchable, appId + QStringLiteral(".desktop"));
    EXPECT_FALSE(texts.value(QStringLiteral("summary")).isEmpty());
    EXPECT_GT(texts.value(QStringLiteral("description")).size(), 100);
    EXPECT_EQ(texts.value(QStringLiteral("project_license")), QStringLiteral("GPL-3.0-or-later"));
    EXPECT_EQ(texts.value(QStringLiteral("metadata_license")), QStringLiteral("CC0-1.0"));
    EXPECT_EQ(texts.value(QStringLiteral("developer_name")), QStringLiteral("Tandrel Notch developers"));
    // No addresses that lead nowhere.
    EXPECT_EQ(screenshots, QStringList());
    EXPECT_EQ(urls, QStringList());
}

// Installed elsewhere than it was built, the program finds its web view's module beside it when it first
// shows an attachment.
TEST_F(Installed, TheProgramLoadsItsWebViewModuleFromBesideIt)
{
    const QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("QML_IMPORT_TRACE"), QStringLiteral("1"));
    // No session bus: an instance already running elsewhere cannot take this start over.
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=") + home.filePath(QStringLiteral("no-bus")));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(path(QStringLiteral("bin/tandrel-notch")), {QStringLiteral("--visualization-demo"), QStringLiteral("--demo")});
    ASSERT_TRUE(program.waitForStarted(30000));
    const QString loaded = QStringLiteral("loaded \"%1/qmldir\"").arg(path(webModuleDir));
    QString output;
    QElapsedTimer waited;
    waited.start();
    while (!output.contains(loaded) && waited.elapsed() < 60000 && program.state() == QProcess::Running) {
        program.waitForReadyRead(1000);
        output += QString::fromUtf8(program.readAll());
    }
    program.terminate(); // as a session ending would, so that it takes the engine's processes with it
    if (!program.waitForFinished(20000)) {
        program.kill();
        program.waitForFinished();
    }
    EXPECT_TRUE(output.contains(loaded)) << qPrintable(output.right(4000));
}

TEST_F(Installed, TheDesktopEntryAndTheMetadataPassTheDesktopsValidators)
{
    const QString desktopValidate = tool(QStringLiteral("desktop-file-validate"));
    const QString appstreamcli = tool(QStringLiteral("appstreamcli"));
    if (desktopValidate.isEmpty() || appstreamcli.isEmpty())
        GTEST_SKIP() << "needs desktop-file-validate and appstreamcli (scripts/install-deps installs them)";
    const Finished entry = run(desktopValidate, {path(QStringLiteral("share/applications/%1.desktop").arg(appId))});
    EXPECT_EQ(entry.exitCode, 0) << qPrintable(entry.output);
    EXPECT_TRUE(entry.output.trimmed().isEmpty()) << qPrintable(entry.output); // no hints or warnings either
    const Finished metadata =
        run(appstreamcli, {QStringLiteral("validate"), QStringLiteral("--no-net"), QStringLiteral("--explain"),
                           path(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId))});
    EXPECT_EQ(metadata.exitCode, 0) << qPrintable(metadata.output);
    EXPECT_FALSE(metadata.output.contains(QRegularExpression(QStringLiteral("^[EWI]:"),
                                                             QRegularExpression::MultilineOption)))
        << qPrintable(metadata.output);
}

// ---------------------------------------------------------------------------------------------------------
// The Debian package

// The modules the views import, and every module those import in turn (their qmldir files say which).
QSet<QString> importedQmlModules()
{
    QStringList pending;
    const QRegularExpression importLine(QStringLiteral("^import\\s+([A-Za-z][\\w.]*)"),
                                        QRegularExpression::MultilineOption);
    QDirIterator views(sourceDir + QStringLiteral("/qml"), {QStringLiteral("*.qml")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (views.hasNext()) {
        QFile file(views.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto match = importLine.globalMatch(text); match.hasNext();)
            pending << match.next().captured(1);
    }
    // A qmldir's "import" lines are loaded with it; its "depends" lines only tell tools where types come
    // from (QtWebEngine names QtWebChannel, which it does not load).
    const QRegularExpression dependencyLine(QStringLiteral("^import\\s+([A-Za-z][\\w.]*)"),
                                            QRegularExpression::MultilineOption);
    const QString qmlRoot = QLibraryInfo::path(QLibraryInfo::QmlImportsPath);
    QSet<QString> modules;
    while (!pending.isEmpty()) {
        const QString module = pending.takeLast();
        if (module == QLatin1String("TandrelNotch") || module == QLatin1String("TandrelNotch.Web") ||
            modules.contains(module))
            continue; // the application's own modules: linked in, or in the package
        modules.insert(module);
        QFile qmldir(qmlRoot + QLatin1Char('/') + QString(module).replace(QLatin1Char('.'), QLatin1Char('/')) +
                     QStringLiteral("/qmldir"));
        if (!qmldir.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(qmldir.readAll());
        for (auto match = dependencyLine.globalMatch(text); match.hasNext();)
            pending << match.next().captured(1);
    }
    return modules;
}

// The packages that own a file (or files matching a pattern) on this system, without architecture.
QStringList owningPackages(const QString &pattern)
{
    const Finished search = run(QStringLiteral("/usr/bin/dpkg-query"), {QStringLiteral("--search"), pattern}, 60000);
    if (search.exitCode != 0)
        return {};
    QStringList packages;
    for (const QString &line : search.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        for (const QString &package : line.section(QStringLiteral(": "), 0, 0).split(QStringLiteral(", ")))
            packages << package.section(QLatin1Char(':'), 0, 0).trimmed();
    }
    packages.removeDuplicates();
    return packages;
}

// The names of the installed packages and of the virtual packages they provide.
QSet<QString> installedPackagesAndProvides()
{
    const Finished list = run(QStringLiteral("/usr/bin/dpkg-query"),
                              {QStringLiteral("--show"), QStringLiteral("--showformat=${db:Status-Abbrev}|${Package}|${Provides}\\n")},
                              60000);
    QSet<QString> names;
    for (const QString &line : list.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('|'));
        if (fields.size() < 3 || !fields.at(0).startsWith(QLatin1String("ii")))
            continue;
        names.insert(fields.at(1));
        for (const QString &provided : fields.at(2).split(QLatin1Char(','), Qt::SkipEmptyParts))
            names.insert(provided.trimmed().section(QLatin1Char(' '), 0, 0));
    }
    return names;
}

// The shared libraries a program names directly (its NEEDED entries).
QStringList neededLibraries(const QString &program)
{
    const Finished dump = run(QStringLiteral("/usr/bin/objdump"), {QStringLiteral("-p"), program}, 60000);
    QStringList libraries;
    const QRegularExpression neededLine(QStringLiteral("^\\s*NEEDED\\s+(\\S+)"), QRegularExpression::MultilineOption);
    for (auto match = neededLine.globalMatch(dump.output); match.hasNext();)
        libraries << match.next().captured(1);
    return libraries;
}

QStringList dependencyNames(const QString &depends)
{
    QStringList names;
    for (const QString &clause : depends.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        for (const QString &alternative : clause.split(QLatin1Char('|')))
            names << alternative.trimmed().section(QLatin1Char(' '), 0, 0).section(QLatin1Char(':'), 0, 0);
    }
    return names;
}

TEST(Package, TheDebHoldsTheInstalledFilesAndDependsOnEveryLibraryAndQmlModuleItLoads)
{
    const QString dpkgDeb = QStringLiteral("/usr/bin/dpkg-deb");
    if (tool(QStringLiteral("dpkg-shlibdeps")).isEmpty() || !QFileInfo(dpkgDeb).isExecutable())
        GTEST_SKIP() << "needs dpkg-dev (scripts/install-deps installs it)";
    QTemporaryDir output;
    ASSERT_TRUE(output.isValid());
    const Finished cpack = run(QStringLiteral(CPACK_COMMAND_PATH),
                          {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), output.path(),
                           QStringLiteral("--config"), buildDir + QStringLiteral("/CPackConfig.cmake")},
                          900000);
    ASSERT_EQ(cpack.exitCode, 0) << qPrintable(cpack.output);
    const QStringList debs = QDir(output.path()).entryList({QStringLiteral("*.deb")}, QDir::Files);
    ASSERT_EQ(debs.size(), 1) << qPrintable(cpack.output);
    const QString deb = output.filePath(debs.first());
    EXPECT_EQ(debs.first(), QStringLiteral("tandrel-notch_%1_amd64.deb").arg(version));

    // Fields.
    const auto field = [&](const QString &name) {
        return run(dpkgDeb, {QStringLiteral("--field"), deb, name}, 60000).output.trimmed();
    };
    EXPECT_EQ(field(QStringLiteral("Package")), QStringLiteral("tandrel-notch"));
    EXPECT_EQ(field(QStringLiteral("Version")), version);
    EXPECT_EQ(field(QStringLiteral("Architecture")), QStringLiteral("amd64"));
    EXPECT_EQ(field(QStringLiteral("Section")), QStringLiteral("net"));
    const QString depends = field(QStringLiteral("Depends"));
    const QStringList names = dependencyNames(depends);
    // From the shared libraries the program links (dpkg-shlibdeps)...
    const QStringList programNeeds = neededLibraries(buildDir + QStringLiteral("/src/app/tandrel-notch"));
    for (const char *library : {"libQt6Core.so.6", "libQt6Quick.so.6", "libQt6DBus.so.6", "libQt6WebSockets.so.6"})
        EXPECT_TRUE(programNeeds.contains(QLatin1String(library))) << library;
    // The web engine comes with the web view's module, not with the program.
    const QStringList pluginNeeds = neededLibraries(webPlugin);
    for (const char *library : {"libQt6WebEngineCore.so.6", "libQt6WebEngineQuick.so.6"}) {
        EXPECT_FALSE(programNeeds.contains(QLatin1String(library))) << library;
        EXPECT_TRUE(pluginNeeds.contains(QLatin1String(library))) << library;
    }
    for (const QString &library : programNeeds + pluginNeeds) {
        const QStringList owners = owningPackages(QStringLiteral("*/") + library);
        ASSERT_FALSE(owners.isEmpty()) << "no package owns " << qPrintable(library);
        EXPECT_TRUE(std::any_of(owners.cbegin(), owners.cend(), [&](const QString &owner) { return names.contains(owner); }))
            << qPrintable(library) << " (" << qPrintable(owners.join(QLatin1Char(' '))) << ") missing from "
            << qPrintable(depends);
    }
    // ...and every QML module the views load, which no linker sees.
    const QSet<QString> modules = importedQmlModules();
    EXPECT_TRUE(modules.contains(QStringLiteral("QtQuick.Controls.Basic")));
    const QString qmlRoot = QLibraryInfo::path(QLibraryInfo::QmlImportsPath);
    for (const QString &module : modules) {
        const QString qmldir =
            qmlRoot + QLatin1Char('/') + QString(module).replace(QLatin1Char('.'), QLatin1Char('/')) + QStringLiteral("/qmldir");
        const QString package = owningPackages(qmldir).value(0);
        ASSERT_FALSE(package.isEmpty()) << "no package owns " << qPrintable(qmldir);
        EXPECT_TRUE(names.contains(package)) << qPrintable(module) << " (" << qPrintable(package) << ") missing from "
                                             << qPrintable(depends);
    }
    // The dependencies name real packages, or what they provide: those this machine builds and runs it with.
    const QSet<QString> available = installedPackagesAndProvides();
    for (const QString &name : names)
        EXPECT_TRUE(available.contains(name)) << qPrintable(name);

    // Contents: the installed files below /usr, owned by root.
    const Finished contents = run(dpkgDeb, {QStringLiteral("--contents"), deb}, 60000);
    ASSERT_EQ(contents.exitCode, 0) << qPrintable(contents.output);
    QSet<QString> files;
    for (const QString &line : contents.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList columns = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        ASSERT_GE(columns.size(), 6) << qPrintable(line);
        EXPECT_EQ(columns.at(1), QStringLiteral("root/root")) << qPrintable(line);
        if (!columns.at(0).startsWith(QLatin1Char('d')))
            files.insert(columns.last());
    }
    QSet<QString> expected;
    for (const QString &file : expectedFiles())
        expected.insert(QStringLiteral("./usr/") + file);
    EXPECT_EQ(files, expected);

    // Unpacked into a fresh root, the program runs.
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    ASSERT_EQ(run(dpkgDeb, {QStringLiteral("--extract"), deb, root.path()}).exitCode, 0);
    const Finished unpacked = run(root.filePath(QStringLiteral("usr/bin/tandrel-notch")), {QStringLiteral("--version")}, 60000);
    EXPECT_EQ(unpacked.output.trimmed(), QStringLiteral("Tandrel Notch ") + version);

    // The manual page, compressed as Debian keeps them, is the one in the source.
    const Finished manual = run(QStringLiteral("/bin/gzip"),
                                {QStringLiteral("-dc"), root.filePath(QStringLiteral("usr/share/man/man1/tandrel-notch.1.gz"))},
                                60000);
    EXPECT_EQ(manual.exitCode, 0);
    QFile manualSource(sourceDir + QStringLiteral("/docs/tandrel-notch.1"));
    ASSERT_TRUE(manualSource.open(QIODevice::ReadOnly));
    EXPECT_EQ(manual.output, QString::fromUtf8(manualSource.readAll()));
    // The licence's text, and the machine-readable copyright file that names it.
    QFile license(root.filePath(QStringLiteral("usr/share/doc/tandrel-notch/LICENSE")));
    QFile licenseSource(sourceDir + QStringLiteral("/LICENSE"));
    ASSERT_TRUE(license.open(QIODevice::ReadOnly) && licenseSource.open(QIODevice::ReadOnly));
    const QByteArray licenseText = license.readAll();
    EXPECT_EQ(licenseText, licenseSource.readAll());
    EXPECT_TRUE(licenseText.contains("GNU GENERAL PUBLIC LICENSE") && licenseText.contains("Version 3, 29 June 2007"));
    QFile copyright(root.filePath(QStringLiteral("usr/share/doc/tandrel-notch/copyright")));
    ASSERT_TRUE(copyright.open(QIODevice::ReadOnly));
    const QStringList paragraphs = QString::fromUtf8(copyright.readAll()).split(QStringLiteral("\n\n"));
    ASSERT_GE(paragraphs.size(), 3);
    EXPECT_TRUE(paragraphs.at(0).startsWith(
        QLatin1String("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n")));
    EXPECT_TRUE(paragraphs.at(0).contains(QLatin1String("\nUpstream-Contact: Tandrel Notch developers <notch@tandrel.example>")));
    EXPECT_TRUE(paragraphs.at(1).startsWith(QLatin1String("Files: *\n")));
    EXPECT_TRUE(paragraphs.at(1).contains(QLatin1String("\nLicense: GPL-3+"))) << qPrintable(paragraphs.at(1));
    EXPECT_TRUE(paragraphs.at(2).startsWith(QLatin1String("License: GPL-3+\n"))) << qPrintable(paragraphs.at(2));
    EXPECT_TRUE(paragraphs.at(2).contains(QLatin1String("/usr/share/common-licenses/GPL-3")));
    EXPECT_EQ(field(QStringLiteral("Maintainer")), QStringLiteral("Tandrel Notch developers <notch@tandrel.example>"));
    EXPECT_EQ(field(QStringLiteral("Homepage")), QString());

    const qint64 installedKiB = field(QStringLiteral("Installed-Size")).toLongLong();
    EXPECT_GT(installedKiB, 0);
    const qint64 packageBytes = QFileInfo(deb).size();
    ::testing::Test::RecordProperty("package_bytes", std::to_string(packageBytes));
    ::testing::Test::RecordProperty("installed_kib", std::to_string(installedKiB));
    std::printf("package %lld bytes, installed %lld KiB\n", static_cast<long long>(packageBytes),
                static_cast<long long>(installedKiB));
}

} // namespace
