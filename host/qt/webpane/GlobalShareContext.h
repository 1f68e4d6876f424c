#pragma once

// The browser engine expects one OpenGL context shared by all, and reads
// it even when it draws in software. Qt makes that context at start-up
// when asked to (AA_ShareOpenGLContexts), which loads the GL driver into
// every run, preview or not. The setter below lets the host set one itself,
// just before the engine first starts. QtGui exports it
// for the engine's own use but declares it in no public header; it has
// stood unchanged through Qt 6, so recheck it (and this guard) on a major
// upgrade.
#include <QtGui/qtguiglobal.h>

#if QT_VERSION >= QT_VERSION_CHECK(7, 0, 0)
#error "Recheck that QtGui still exports qt_gl_set_global_share_context"
#endif

class QOpenGLContext;

Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
