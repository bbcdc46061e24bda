import QtQuick
import QtWebEngine
import TandrelNotch.Web

// One HTML attachment in a web view of its own: its own off-the-record profile (no cookies, cache or storage
// kept, nothing shared with another view), the document served under the lock-down policy, and no way for
// the page to leave it: navigations elsewhere are refused (a link the user clicks opens in the browser) and
// no window or popup opens. Whatever the page asks the view for (a dialog, a picker, a log-in, a permission,
// full screen, the engine's own menu) is refused here, so the engine shows nothing of its own. A page without
// a background of its own shows on white, as in any browser. The document is loaded once; a later html does
// not reload it. The file is loaded only when an attachment shows (VisualizationAttachment), and the
// engine with it.
Item {
    id: root
    required property string html

    WebEngineProfile {
        id: profile
        offTheRecord: true
        httpCacheType: WebEngineProfile.MemoryHttpCache
        persistentCookiesPolicy: WebEngineProfile.NoPersistentCookies
    }

    VisualizationSandbox {
        id: sandbox
        objectName: "visualizationSandbox"
        profile: profile
        html: root.html
    }

    WebEngineView {
        id: view
        objectName: "visualizationView"
        anchors.fill: parent
        profile: profile
        url: sandbox.url
        backgroundColor: "white"
        settings.javascriptCanOpenWindows: false
        settings.javascriptCanAccessClipboard: false
        settings.javascriptCanPaste: false
        settings.localStorageEnabled: false
        settings.pluginsEnabled: false
        settings.localContentCanAccessRemoteUrls: false
        settings.localContentCanAccessFileUrls: false
        settings.dnsPrefetchEnabled: false
        settings.webRTCPublicInterfacesOnly: true
        settings.hyperlinkAuditingEnabled: false
        settings.fullScreenSupportEnabled: false
        settings.screenCaptureEnabled: false
        settings.focusOnNavigationEnabled: false
        Component.onCompleted: sandbox.watchInput(view)

        onNavigationRequested: request => {
            if (sandbox.allowsNavigation(request.url))
                return;
            request.reject();
            if (request.navigationType === WebEngineNavigationRequest.LinkClickedNavigation
                    && request.isMainFrame && sandbox.opensInBrowser(request.url))
                Qt.openUrlExternally(request.url);
        }
        // Never a new window: a link the user opened that way goes to the browser, anything else is dropped.
        onNewWindowRequested: request => {
            if (request.userInitiated && sandbox.opensInBrowser(request.requestedUrl))
                Qt.openUrlExternally(request.requestedUrl);
        }
        // No back, reload or inspect menu over a document that has nowhere to go.
        onContextMenuRequested: request => sandbox.refuse(request)
        onTouchSelectionMenuRequested: request => sandbox.refuse(request)
        // Nothing the page asks for opens a window: each is answered here as a user who says no would.
        onJavaScriptDialogRequested: request => sandbox.refuse(request)
        onFileDialogRequested: request => sandbox.refuse(request)
        onColorDialogRequested: request => sandbox.refuse(request)
        onAuthenticationDialogRequested: request => sandbox.refuse(request)
        onSelectClientCertificate: selection => sandbox.refuse(selection)
        onFullScreenRequested: request => sandbox.refuse(request)
        onRegisterProtocolHandlerRequested: request => sandbox.refuse(request)
        onFileSystemAccessRequested: request => sandbox.refuse(request)
        onQuotaRequested: request => sandbox.refuse(request)
        onFeaturePermissionRequested: (securityOrigin, feature) => {
            view.grantFeaturePermission(securityOrigin, feature, false);
            sandbox.noteRefused("permission");
        }
    }
}
