// A model of the display unit as the tool meets it on the serial line:
// bytes in, bytes out, time passed in. It echoes every character as it
// arrives (a line end as CR LF), runs the line on its CR in the application
// firmware or the boot loader, sends the data lines, then one prompt ('#'
// application, '$' boot loader, '!' line rejected) followed by CR LF.
// After "CB" the tool's raw two-byte brightness blocks (value, 0) are taken
// outside the command protocol, until a pair arrives whose second byte is
// not 0: that is text again.
//
// It does not open devices or run timers: a transport feeds it (receive),
// asks when output is due (nextOutputTime) and collects it (takeOutput).
#pragma once

#include "sim/boot_loader.h"
#include "sim/faults.h"
#include "sim/output_pacing.h"
#include "sim/unit_options.h"
#include "sim/unit_state.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orlix::sim {

class SimulatedUnit {
public:
    // Throws std::invalid_argument when options.firmwareVersion is not a
    // version text such as "2.24".
    explicit SimulatedUnit(UnitOptions options = {});

    // Bytes the tool wrote at nowMs.
    void receive(std::string_view bytes, std::int64_t nowMs);
    // The bytes that have reached the tool by nowMs.
    std::string takeOutput(std::int64_t nowMs);
    // When more output becomes due; nothing when none is pending.
    std::optional<std::int64_t> nextOutputTime() const;
    // The line was closed by a fault; nothing goes in or out until
    // reconnectLine().
    bool hungUp() const { return m_hungUp; }

    // --- Faults ---------------------------------------------------------
    const FaultOptions& faults() const { return m_faults.options; }
    void setFaults(const FaultOptions& faults);
    // A silent unit reads nothing and sends nothing; what was on its way
    // is lost.
    void setSilent(bool silent);
    void setRejectEveryNthLine(int n) { m_faults.options.rejectEveryNthLine = n; }
    void setDropEveryNthOutputChar(int n) { m_faults.options.dropEveryNthOutputChar = n; }
    void setDropEveryNthInputChar(int n) { m_faults.options.dropEveryNthInputChar = n; }
    void setNulEveryNthOutputChar(int n) { m_faults.options.nulEveryNthOutputChar = n; }
    void setGarbageEveryNthReply(int n) { m_faults.options.garbageEveryNthReply = n; }
    // Noise on the line now, behind whatever is already on its way.
    void injectGarbage(std::string_view bytes, std::int64_t nowMs);
    // Closes the line: pending output is lost and hungUp() turns true.
    void hangUp();
    void reconnectLine();
    // A reset that lands in the boot loader: the half-sent answer is lost,
    // the operating time is stored and a power cycle counted, and the boot
    // loader greets with its banner and '$'.
    void rebootIntoBootLoader(std::int64_t nowMs);

    // --- State ----------------------------------------------------------
    const UnitState& state() const { return m_state; }
    // For tests and the simulator's console: identity, readings, DACs...
    UnitState& editState() { return m_state; }
    const BootLoader& bootLoader() const { return m_bootLoader; }

    bool inBootLoader() const { return m_state.inBootLoader; }
    const std::string& firmwareVersion() const { return m_state.firmware.text; }
    int firmwareVersionCode() const { return m_state.firmware.code; }
    // Channel 0..2 of the TYW3xB (digital) and TYW4xB (maximum) levels.
    int digitalBrightness(int channel) const;
    int analogBrightness(int channel) const;
    bool softwareControl() const { return m_state.softwareControl; }
    bool bugeyeMode() const { return m_state.bugeyeMode; }
    int bugeyeBrightness() const { return m_state.bugeyeBrightness; }
    bool verbose() const { return m_state.verbose; }
    bool lineChecking() const { return m_state.lineChecking; }
    int dac(DacGroup group, DacSet set, int index) const;
    void setDac(DacGroup group, DacSet set, int index, int value);
    std::int64_t operatingSeconds(std::int64_t nowMs) const {
        return m_state.totalOperatingSeconds(nowMs);
    }
    // Command lines completed so far (rejected ones included).
    int linesReceived() const { return m_linesReceived; }
    void setWireRate(bool on);

private:
    void receiveByte(char c, std::int64_t arrivalTick, std::int64_t nowMs);
    void lineByte(char c, std::int64_t arrivalTick, std::int64_t nowMs);
    void completeLine(std::int64_t arrivalTick, std::int64_t nowMs);
    void send(std::string_view bytes, std::int64_t earliestTick);
    bool lineIsGarbled() const;

    UnitState m_state;
    BootLoader m_bootLoader;
    FaultInjector m_faults;
    OutputPacer m_output;
    InputClock m_input;
    std::string m_line;
    bool m_lineOverflow = false;
    bool m_afterCr = false;
    std::optional<char> m_blockFirst; // first byte of a bugeye block
    bool m_hungUp = false;
    int m_linesReceived = 0;
};

} // namespace orlix::sim
