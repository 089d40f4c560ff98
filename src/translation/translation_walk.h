#pragma once

#include <QString>

class IniFile;
class QObject;

// The two walks over a form's component tree. A form owns every named component below it, so each
// key is the form's name, a full stop and the component's name (frmConfig.chkAlpha), and a tree
// view's nodes add their depth-first number (frmX.tvwY.3). Components are visited depth-first in
// child order; an unnamed component, one tagged -1 and a nested form are skipped together with
// everything below them.

// Sets every translated text from the section, each missing key keeping the current text. A
// malformed escape raises Error at that component; texts changed before it stay changed.
void ReadTranslation(QObject* form, const IniFile& file, const QString& section);

// Writes every translated text of the form into the section of the in-memory file.
void WriteTranslationKeys(const QObject* form, IniFile& file, const QString& section);
