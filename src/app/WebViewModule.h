#pragma once

#include <QString>

class QQmlEngine;

// The web view's QML module, TandrelNotch.Web, is a plug-in that brings the web engine with it: the program
// starts without the engine, which loads when the views first show an attachment.
class WebViewModule
{
public:
    // Readies the application for the engine that may come later: the OpenGL contexts it shares with the
    // views' windows, which have to be asked for before the application object exists, and the engine's
    // sandbox setting.
    static void prepareApplication();

    // The folder the module is found under: beside the installed program, else in the build tree.
    static QString importPath();

    // Lets `engine` find the module (after the application's own, which stay first).
    static void addTo(QQmlEngine &engine);
};
