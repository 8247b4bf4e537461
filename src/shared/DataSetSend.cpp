#include "DataSetSend.h"

#include <windows.h>

#include "ExtCtrls.h"
#include "UnitSequence.h"

namespace {

uint32_t SystemTickCount() { return GetTickCount(); }

const unsigned IdleCheckInterval = 1000;

struct TClientVariable {
    std::unique_ptr<TCVIdTCPClient>* Variable;
    const char* Name;
};
const TClientVariable Clients[] = {{&TCPClient1, "TCPClient1"}, {&TCPClient2, "TCPClient2"},
                                   {&TCPClient3, "TCPClient3"}};

}  // namespace

int32_t IdleTimeout = 5000;
TTickSource IdleTickSource = &SystemTickCount;

std::unique_ptr<TCVIdTCPClient> TCPClient1;
std::unique_ptr<TCVIdTCPClient> TCPClient2;
std::unique_ptr<TCVIdTCPClient> TCPClient3;
std::unique_ptr<TBatchOpenObject> BatchOpenObject;
std::string SendText;

// ---- TCVIdTCPClient ----

TCVIdTCPClient::TCVIdTCPClient(TComponent* AOwner) : TIdTCPClient(AOwner)
{
    FIdleTimer = new TTimer(this);  // enabled from the start
    FIdleTimer->SetInterval(IdleCheckInterval);
    FIdleTimer->OnTimer = [this](TObject* Sender) { IdleTimerTick(Sender); };
}

TCVIdTCPClient::~TCVIdTCPClient()
{
    FIdleTimer->SetEnabled(false);
    delete FIdleTimer;
}

void TCVIdTCPClient::Disconnect()
{
    TIdTCPClient::Disconnect();
    SetBusy(false);
}

void TCVIdTCPClient::SetBusy(bool Value)
{
    FLastActivity = IdleTickSource();
    FBusy = Value;
}

void TCVIdTCPClient::IdleTimerTick(TObject*)
{
    if (FBusy || !Connected()) return;
    // Stopped, so that no second check starts inside this one (a message loop in Disconnect); restarted in all
    // cases, and a failure then goes on to the timer's report.
    FIdleTimer->SetEnabled(false);
    try {
        DisconnectWhenIdle();
    } catch (...) {
        FIdleTimer->SetEnabled(true);
        throw;
    }
    FIdleTimer->SetEnabled(true);
}

void TCVIdTCPClient::DisconnectWhenIdle()
{
    // A reading below the last activity means the 32-bit count has wrapped: the idle time counts from now.
    if (IdleTickSource() < FLastActivity) {
        FLastActivity = IdleTickSource();
        return;
    }
    const uint32_t idle = IdleTickSource() - FLastActivity;
    // Compared in 64 bits, the timeout sign-extended: a negative one is always exceeded.
    if (static_cast<int64_t>(idle) >= static_cast<int64_t>(IdleTimeout)) Disconnect();
}

// ---- TBatchOpenObject ----

TBatchOpenObject::TBatchOpenObject() : FList(std::make_unique<TStringList>()) {}

TBatchOpenObject::~TBatchOpenObject() { FList->Clear(); }

// ---- Start-up and shut-down ----

void InitializeDataSetSend()
{
    try {
        for (const TClientVariable& client : Clients) CreateUnitObject(*client.Variable, client.Name, nullptr);
        CreateUnitObject(BatchOpenObject, "BatchOpenObject");
    } catch (...) {
        FinalizeDataSetSend();
        throw;
    }
}

void FinalizeDataSetSend()
{
    FreeUnitObject(BatchOpenObject, "BatchOpenObject");
    for (const TClientVariable& client : Clients) {
        if (!*client.Variable) continue;
        (*client.Variable)->Disconnect();
        UnitTrace(std::string("disconnect ") + client.Name);
    }
    for (const TClientVariable& client : Clients) FreeUnitObject(*client.Variable, client.Name);
    std::string().swap(SendText);
}
