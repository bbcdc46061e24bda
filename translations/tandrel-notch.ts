<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <location filename="../src/app/AppDelegate.cpp" line="+248"/>
        <source>Tandrel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+142"/>
        <source>A reply is still sending</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Wait for sending to finish before turning off the Notch. Your reply will stay open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Keep Notch Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Discard unsent drafts and quit?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Your unsent Notch replies will be lost. Choose Keep Editing to leave the Notch enabled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep Editing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Discard Drafts and Quit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AutostartEntry</name>
    <message>
        <location filename="../src/app/AutostartEntry.cpp" line="+54"/>
        <source>Could not turn on Start at login: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>cannot create the folder %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Could not turn off Start at login: %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <location filename="../src/app/DesktopNotifier.cpp" line="+49"/>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LaunchOptions</name>
    <message>
        <location filename="../src/app/LaunchOptions.cpp" line="+19"/>
        <source>Run on fictional demo data, without the Tandrel service.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>With --demo: open the sample message with an HTML attachment.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open the running panel and hold it open (start one if none runs).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Open or collapse the running panel (start one, open, if none runs).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show a desktop notification for a message that arrives while collapsed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>NAME</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sit on the screen with this output name (as xrandr lists them).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+2"/>
        <source>POINTS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Treat the screen as notched: the notch&apos;s width (with --notch-height).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Treat the screen as notched: the notch&apos;s height (with --notch-width).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Print this help and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Print the version and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+67"/>
        <location line="+48"/>
        <source>--screen needs a screen name: --screen=NAME.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="-44"/>
        <source>%1 needs a positive number of points: %1=POINTS.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>There is no option %1; tandrel-notch --help lists the options.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Unexpected argument &quot;%1&quot;; tandrel-notch --help lists the options.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>--open and --toggle cannot be given together.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>%1 needs a positive number of points, not &quot;%2&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>--notch-width and --notch-height go together: give both.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Usage: tandrel-notch [OPTION]...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Your Tandrel inbox in the band at the top centre of the screen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Configuration: ~/.config/tandrel/notch.json. More in tandrel-notch(1).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NotchApplication</name>
    <message>
        <location filename="../src/app/NotchApplication.cpp" line="+52"/>
        <source>There is no screen named &quot;%1&quot;; the screens are: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <source>%1 needs the session bus to reach the running panel, and there is none.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NotchBar</name>
    <message>
        <location filename="../qml/NotchBar.qml" line="+115"/>
        <source>Tandrel, %1 unread messages across inboxes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NotchPanel</name>
    <message>
        <location filename="../src/app/NotchPanel.cpp" line="+49"/>
        <source>Tandrel Notch</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <location filename="../src/app/SingleInstance.cpp" line="+59"/>
        <source>Could not reach the running Tandrel Notch: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Tandrel Notch is already running in demo mode; quit it before starting it in live mode.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Tandrel Notch is already running in live mode; quit it before starting it in demo mode.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Tandrel Notch is already running in %1 mode; quit it before starting it in %2 mode.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <location filename="../src/app/TrayMenu.cpp" line="+9"/>
        <source>Open inbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Simulate message in another inbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Start at login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quit Tandrel Notch</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UnreadIndicator</name>
    <message>
        <location filename="../qml/UnreadIndicator.qml" line="+109"/>
        <source>%1 unread in %2, %3 in other inboxes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>X11DisplayCheck</name>
    <message>
        <location filename="../src/app/X11DisplayCheck.cpp" line="+28"/>
        <source>tandrel-notch needs an X11 display; under Wayland it runs through XWayland. DISPLAY is not set.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>tandrel-notch needs an X11 display; under Wayland it runs through XWayland. The display &quot;%1&quot; cannot be opened.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
