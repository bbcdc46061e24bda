<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Tandrel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A reply is still sending</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wait for sending to finish before turning off the Notch. Your reply will stay open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Notch Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard unsent drafts and quit?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your unsent Notch replies will be lost. Choose Keep Editing to leave the Notch enabled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Editing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard Drafts and Quit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AutostartEntry</name>
    <message>
        <source>Could not turn on Start at login: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not turn off Start at login: %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DetailHeader</name>
    <message>
        <source>Open in Tandrel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EmptyState</name>
    <message>
        <source>Connecting to Tandrel…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inbox unavailable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No matching messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No focused messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No direct messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You&apos;re all caught up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose messages to keep as context for your agent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try another view, label, or search.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FilterRow</name>
    <message>
        <source>Filter messages</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FilterSummaryRow</name>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FilterText</name>
    <message>
        <source>DMs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DMs %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focused %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unread (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spam</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Needs review</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unread</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shared inbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thread</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Direct</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FocusedPreview</name>
    <message>
        <source>Double-click text to expand</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Expand message</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Inbox</name>
    <message>
        <source>Inbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not confirm the saved change.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The service rejected this reply.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not confirm sending. Check the conversation before trying again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The reply was not restored because the account changed; it began: “%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sent · awaiting review</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LabelFilterMenu</name>
    <message>
        <source>Filter by label: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message labels: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LaunchOptions</name>
    <message>
        <source>Run on fictional demo data, without the Tandrel service.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With --demo: open the sample message with an HTML attachment.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the running panel and hold it open (start one if none runs).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open or collapse the running panel (start one, open, if none runs).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show a desktop notification for a message that arrives while collapsed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NAME</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sit on the screen with this output name (as xrandr lists them).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>POINTS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Treat the screen as notched: the notch&apos;s width (with --notch-height).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Treat the screen as notched: the notch&apos;s height (with --notch-width).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print this help and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the version and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--screen needs a screen name: --screen=NAME.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs a positive number of points: %1=POINTS.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no option %1; tandrel-notch --help lists the options.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unexpected argument &quot;%1&quot;; tandrel-notch --help lists the options.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--open and --toggle cannot be given together.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs a positive number of points, not &quot;%2&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--notch-width and --notch-height go together: give both.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: tandrel-notch [OPTION]...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your Tandrel inbox in the band at the top centre of the screen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration: ~/.config/tandrel/notch.json. More in tandrel-notch(1).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ListControls</name>
    <message>
        <source>All conversations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conversations</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LiveInboxConnection</name>
    <message>
        <source>Tandrel connection failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Tandrel tool printed more than %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure your Tandrel account first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not prepare the reply.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LocalReplyField</name>
    <message>
        <source>Reply locally…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add reply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Demo only · Replies aren’t sent</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageList</name>
    <message>
        <source>Retry</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageRow</name>
    <message>
        <source>Unopened message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>· Review</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageRowText</name>
    <message numerus="yes">
        <source>%n messages</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n replies</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Focused</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Owner approval is required before agent focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove from focused messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus for agent context</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 message from %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unfocus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not focused</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change label for %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>· Review</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NotchApplication</name>
    <message>
        <source>There is no screen named &quot;%1&quot;; the screens are: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs the session bus to reach the running panel, and there is none.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NotchBar</name>
    <message>
        <source>Tandrel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click to keep open. Double-click to collapse.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NotchHeader</name>
    <message>
        <source>Back to inbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch personal or team inbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search messages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collapse inbox</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NotchPanel</name>
    <message>
        <source>Tandrel Notch</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReaderText</name>
    <message>
        <source>Expand message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compact message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your agent can’t read this conversation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your agent can’t read this</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for owner approval. Review and access controls will open in Tandrel when connected.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReaderTextInteraction</name>
    <message>
        <source>Copy text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double-click to expand or compact the message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toggle message size</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReplyComposer</name>
    <message>
        <source>Reply…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send reply</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScopeMenuText</name>
    <message>
        <source>Inbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 unread in %2, %3 in other inboxes</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Tandrel, %n unread messages across inboxes</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>Could not reach the running Tandrel Notch: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tandrel Notch is already running in demo mode; quit it before starting it in live mode.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tandrel Notch is already running in live mode; quit it before starting it in demo mode.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tandrel Notch is already running in %1 mode; quit it before starting it in %2 mode.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SyncSocket</name>
    <message numerus="yes">
        <source>The service handed out %n sync subscriptions.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>The sync address %1 is not allowed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The service handed out an unusable sync ticket.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sync connection did not open in time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sync connection stopped answering.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sync connection was closed (code %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sync connection was closed (code %1: %2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sync channel sent an unknown message.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TeamLabelMenu</name>
    <message>
        <source>Change message label</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>Open inbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simulate message in another inbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start at login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit Tandrel Notch</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UnreadIndicator</name>
    <message>
        <source>here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unread messages by inbox</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>VisualizationAttachment</name>
    <message>
        <source>Download visualization</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>VisualizationDocument</name>
    <message>
        <source>Could not save the file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>X11DisplayCheck</name>
    <message>
        <source>tandrel-notch needs an X11 display; under Wayland it runs through XWayland. DISPLAY is not set.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tandrel-notch needs an X11 display; under Wayland it runs through XWayland. The display &quot;%1&quot; cannot be opened.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
