#pragma once

#include <QString>

// Small string functions that turn browser addresses into local paths, split
// paths and make a user's text safe as a file name. They accept both the "/"
// paths of this machine and the "\" paths that Windows peers write into pages,
// and they never touch the disk.

QString RepeatString(const QString &s, int n);

// s with ' * ? / < > | and the double quote replaced by "_"; "\" and ":" stay.
QString seitou(const QString &s);

QString DecodePercent20(const QString &s);

// The text after the last "/" (all of s when there is none).
QString UrlLastSegment(const QString &s);

// True for "http://" and "https://" addresses: they have no local path.
bool isWebAddress(const QString &s);

// The local path of a browser address: empty for a web address; a file URL of
// this machine becomes its path; a file URL of a Windows drive or share becomes
// the Windows path (C:\a\b c.html, \\server\share\p.html), which is a missing
// file here. Text without a scheme passes through, except that it is put on
// the share of the open page when shownAddress (the window caption) is a file
// URL of a share.
QString CutNN(const QString &url, const QString &shownAddress = QString());

// A link made absolute against curDir: "./x" and "/x" inside curDir, "../x"
// one folder up, a file URL taken as its path.
QString ResolveRelativeLink(const QString &link, const QString &curDir);

// The text up to and including the last "\" or "/"; empty when there is none.
QString ExtractDirPart(const QString &s);
inline QString ExtractDirPart2(const QString &s) { return ExtractDirPart(s); }

// The last folder of a path ending in a separator, else the folder above the
// last component; empty when s has no separator.
QString LastFolderName(const QString &s);

// The separator to join onto dir: "\" for a Windows path, "/" for ours.
QChar pathSeparatorOf(const QString &dir);

// dir + separator + name, with the separators of name turned into dir's.
QString joinPath(const QString &dir, const QString &name);

// Whether a level entry is a whole address, as a level made from a link page
// holds: a web address, an absolute or share path, a file URL or a drive path;
// not a name or a relative path below the level's folder.
bool isWholeEntry(const QString &entry);

// The local path of a level entry: a name or relative path below curDir, an
// absolute path, or a file URL. Empty for a web address.
QString entryLocalPath(const QString &curDir, const QString &entry);

// The file name part of a path of either kind.
QString fileNameOf(const QString &path);

// The extension of the file name part of a path, from its last "." (with the
// dot); empty when the name has none.
QString fileExtension(const QString &path);

// path without the extension of its file name part.
QString pathWithoutExtension(const QString &path);
