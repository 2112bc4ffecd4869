#pragma once

#include <QByteArray>
#include <QString>

// Who holds a shared lock, as its lock file says: the lines QLockFile writes
// (process number, program, host name, machine id, boot id), so that copies of
// the program that take the lock with QLockFile and this one exclude each other.
struct LockHolder
{
    qint64 pid = 0;
    QString program; // the file name of the holder's executable
    QString host;
    QByteArray machineId;
    QByteArray bootId;

    // This process, as it writes itself into a lock it takes.
    static const LockHolder &thisProcess();
    // What a lock file says; pid 0 when it names no process.
    static LockHolder read(const QByteArray &bytes);
    QByteArray bytes() const;

    // Held on this very computer since its last start: the machine and boot ids
    // match. Cloned computers share a machine id, never a boot id.
    bool onThisComputer() const;
    // On this computer, and its process ended or its number now belongs to
    // another program. Nothing tells that a holder on another computer is gone.
    bool gone() const;
    // The host name as the user may be shown it: nothing a label reads as markup.
    QString shownHost() const;
};
