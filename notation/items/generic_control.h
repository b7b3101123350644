#pragma once
// TGenericControl (type code 13, "MPC"): a multi-point MIDI controller change: up to four
// points of (time, value), each time relative to the point before (point 0: to the item) in
// units of a duration code, played as single changes ("Absolute") or as a stepped sweep
// between the points ("Linear Sweep").
//
// Perform turns the points into events; every value is limited to its controller's range
// first (0..127 for control changes, 0..16383 for pitch bend, 4..65535 beats per minute for
// tempo), point times below 0 count as 0 and event times are limited to 0..2^31-1, so any
// point data (from files or scripts) gives valid messages, and a sweep emits at most one event
// per tick and value step.

#include <cstdint>

#include "notation/items/general_expression.h"

namespace kvt {

enum TMpcController : int {
  kMpcTempo = 0,
  kMpcVolume = 1,
  kMpcPan = 2,
  kMpcBreath = 3,
  kMpcPitch = 4,
  kMpcModulation = 5,
  kMpcFoot = 6,
  kMpcPortamento = 7,
  kMpcDataMsb = 8,
  kMpcBalance = 9,
  kMpcExpression = 10,
  kMpcEffect1 = 11,
  kMpcEffect2 = 12,
  kMpcReverb = 13,
  kMpcTremolo = 14,
  kMpcChorus = 15,
  kMpcDetune = 16,
  kMpcPhaser = 17,
};
inline constexpr int kMpcControllerCount = 18;

enum TMpcStyle : int {
  kMpcAbsolute = 0,
  kMpcLinearSweep = 1,
};

// Points of a controller change.
inline constexpr int MaxRawParmSetPoints = 4;

class TGenericControl : public TNtnGeneralExpression {
public:
  // Controller tempo, Absolute, TimeRes 2 (quarter), SweepRes 0, every point cleared; Pos -8,
  // Wide on.
  TGenericControl();

  static constexpr TNotatedItemType kType = kItemGenericControl;

  TNotatedItemType GetType() const override { return kType; }
  // The controller events of the points (see the header comment), at the state's port and
  // channel, from the state's song position.
  void Perform(TStaffContextState& state, TMidiFileBuf* buffer) const override;

  int GetController() const { return controller; }
  void SetController(int value) { controller = value; }
  int GetStyle() const { return style; }
  void SetStyle(int value) { style = value; }
  // Duration code of the point-time unit (0 whole ... 6 sixty-fourth); other values play as
  // quarters.
  int GetTimeRes() const { return timeRes; }
  void SetTimeRes(int code) { timeRes = code; }
  // The value step of a sweep; plays as at least 1.
  int GetSweepRes() const { return sweepRes; }
  void SetSweepRes(int step) { sweepRes = step; }

  // Point 0 is always active; points 1-3 when set. False for n outside 0..3.
  bool IsPointActive(int n) const;
  // Time and value of point n; 0 for n outside 0..3.
  int GetPointTime(int n) const;
  int GetPointValue(int n) const;
  // Makes point n active (n > 0) with the time and value. Precondition
  // "n < MaxRawParmSetPoints" (n from 0 to 3).
  void SetPoint(int n, int time, int value);
  // Makes point n inactive (n > 0) with time 0 and value 100. Same precondition.
  void ClearPoint(int n);
  // Active points from point 0 up to the first inactive one.
  int GetActivePointCount() const;

  // MIDI controller number of a controller (vol 7, pan 10, ...); -1 for tempo, pitch and
  // values outside the list.
  static int GetControllerNumber(int controller);

private:
  int32_t controller;
  int32_t style;
  int32_t timeRes;
  int32_t sweepRes;
  int32_t pointActive[MaxRawParmSetPoints - 1];
  int32_t pointTime[MaxRawParmSetPoints];
  int32_t pointValue[MaxRawParmSetPoints];
};

}  // namespace kvt
