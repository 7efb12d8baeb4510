#include "app/AppState.h"

#include "app/AppSettings.h"
#include "app/DrivingTestsPanel.h"
#include "app/EditTracking.h"
#include "app/FrameLoop.h"
#include "app/LiveReload.h"
#include "app/TelemetryWindow.h"
#include "app/TuningEditor.h"

void resetAppState()
{
    appSettings = AppSettings();
    resetFrameLoop();
    resetTuningEditor();
    resetEditTracking();
    resetDrivingTestsSection();
    resetTelemetryWindow();
    resetLiveReload();
}
