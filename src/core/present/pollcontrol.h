#pragma once

// Pausing and resuming the update poll around an operation that changes a
// folder, so that the poll does not take the operation's own changes for
// changes made by another PC. The main window implements it.
class PollControl
{
public:
    virtual ~PollControl() = default;
    // Poll timer off, update button "更新中止". Pauses nest.
    virtual void pausePoll() = 0;
    // The end of the last pause gives the poll back the state it had before
    // the first: a poll that was running runs again ("自動更新開始"), one that
    // was off (switched off, or held by a drawing) stays off.
    virtual void resumePoll() = 0;
};

// Pauses the poll for its lifetime and ends the pause on every way out of the
// scope, an early return or an exception included:
//     PollPause pause(form);
class PollPause
{
public:
    explicit PollPause(PollControl &control)
        : m_control(control)
    {
        m_control.pausePoll();
    }
    ~PollPause() { m_control.resumePoll(); }

    PollPause(const PollPause &) = delete;
    PollPause &operator=(const PollPause &) = delete;

private:
    PollControl &m_control;
};
