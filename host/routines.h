#pragma once
// The host's small text and date routines. Pure functions; any thread.
#include <QDate>
#include <QDateTime>
#include <QString>

namespace qmv {

// True when the text is empty or holds only blanks (a masked edit left blank shows blanks).
bool EmptyString(const QString& text);

// The text (surrounding blanks removed) right-aligned to width and zero-filled on the left:
// Ajusta("1", 4) == "0001". A text already as long as width, or longer, is returned unchanged.
QString Ajusta(const QString& text, int width);

// "Domingo", "Segunda", "Terça", "Quarta", "Quinta", "Sexta", "Sábado"; empty for a null date.
QString NomeSemana(const QDate& date);
QString NomeSemana(const QDateTime& date);

}  // namespace qmv
