#pragma once

#include "BoardCell.h"

class HostSession;
class QWidget;

// The board's commands that write shift exchanges. Each asks what it needs,
// writes in one transaction, tells the operator what was written (and what was
// not, and why) and announces the change through the session's dataSaved().
namespace BoardActions {

// Asks for the exchange (调休, or the periods; a reason; a remark), writes it,
// shows what was written and what was skipped. True when rows were written.
bool batchExchange(QWidget *parent, HostSession &session, const BoardCells &cells);

// Each of two employees gets the other's effective schedule of the selected day
// as an exchange; both rows or neither. True when written.
bool swap(QWidget *parent, HostSession &session, const BoardCell &a, const BoardCell &b);

} // namespace BoardActions
