#pragma once
// The idle-watched TCP clients and the batch object that live from start-up to shut-down.

#include <cstdint>
#include <memory>
#include <string>

#include "Classes.h"
#include "IdTCPClient.h"

class TTimer;

// Idle time in milliseconds after which a connected client that is not busy is disconnected; negative: at once.
extern int32_t IdleTimeout;

// Where every reading of the tick count comes from: GetTickCount; tests put a clock of their own here.
using TTickSource = uint32_t (*)();
extern TTickSource IdleTickSource;

// A TCP client that its own one-second timer disconnects once it has been idle for IdleTimeout.
class TCVIdTCPClient : public TIdTCPClient {
public:
    explicit TCVIdTCPClient(TComponent* AOwner);  // the idle timer runs from here on
    ~TCVIdTCPClient() override;
    // Disconnects, then marks the client not busy with the last activity now.
    void Disconnect() override;
    // Marks the last activity now, then sets the busy flag.
    void SetBusy(bool Value);
    // The idle check, once a second. The timer is stopped while it runs and restarted whatever happens in it.
    void IdleTimerTick(TObject* Sender);

    bool Busy() const { return FBusy; }
    uint32_t LastActivity() const { return FLastActivity; }
    TTimer* IdleTimer() const { return FIdleTimer; }

private:
    void DisconnectWhenIdle();

    bool FBusy = false;
    uint32_t FLastActivity = 0;
    TTimer* FIdleTimer = nullptr;  // owned
};

// Holds a string list of its own.
class TBatchOpenObject : public TObject {
public:
    TBatchOpenObject();
    ~TBatchOpenObject() override;

private:
    std::unique_ptr<TStringList> FList;
};

extern std::unique_ptr<TCVIdTCPClient> TCPClient1;
extern std::unique_ptr<TCVIdTCPClient> TCPClient2;
extern std::unique_ptr<TCVIdTCPClient> TCPClient3;
extern std::unique_ptr<TBatchOpenObject> BatchOpenObject;
extern std::string SendText;  // empty; nothing assigns it

// Start-up: the three clients without owner, in order, then the batch object; a failure frees what was made.
// Shut-down: the batch object freed; the clients disconnected in order, then freed in order; the text released.
void InitializeDataSetSend();
void FinalizeDataSetSend();
