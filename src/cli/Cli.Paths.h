#pragma once
// Paths of lockwyn-cli: group titles and a token title joined by "/". A title
// that holds "/" or "\" writes them as "\/" and "\\". Titles match
// case-insensitively, as they are unique that way.

#include "LockwynLib.Interfaces.h"

#include <QStringList>

namespace CliPaths {

QStringList Split(const QString& path);
QString Join(const QStringList& titles);

// Nothing when a title on the way is missing; the empty path is the root.
std::shared_ptr<Lockwyn::ITokenGroup> FindGroup(const std::shared_ptr<Lockwyn::ITokenGroup>& root,
                                                const QStringList& titles);
std::shared_ptr<Lockwyn::IToken> FindToken(Lockwyn::ITokenGroup& group, const QString& title);

// As FindGroup and FindToken, but a missing object is a "not found" error.
std::shared_ptr<Lockwyn::ITokenGroup>
RequireGroup(const std::shared_ptr<Lockwyn::ITokenGroup>& root, const QString& path);
std::shared_ptr<Lockwyn::IToken> RequireToken(const std::shared_ptr<Lockwyn::ITokenGroup>& root,
                                              const QString& path);

// The path of a token or group below the root.
QString PathOf(Lockwyn::IToken& token);
QString PathOf(const std::shared_ptr<Lockwyn::ITokenGroup>& group);

} // namespace CliPaths
