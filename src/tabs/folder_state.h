#pragma once

#include <QByteArray>
#include <QString>

// A digest of what the tab set on disk looks like: the entries of the tabs folder and of every tab
// folder (name, kind, size, modification time) and the lines of their order files that name an
// entry. Two equal digests mean that a rebuild would show the same tab set. Rewriting an order
// file without its stale lines, as every listing does, does not change it. Reads only folder
// listings and order files; safe to call from any thread.
QByteArray TabSetState(const QString& tabsFolder);
