#include "app/DemoPanel.h"

#include <algorithm>

#include "shell/Settings.h"
#include "shell/Text.h"

namespace cfg {

std::unique_ptr<LoopbackTransport> MakeDemoPanel(Session& s, Clock& clock) {
    vimo::sim::PanelSettings panel;
    panel.address = kDemoAddress;
    panel.plantCode = std::clamp(static_cast<int>(ParseNumber(s.settings.PlantCode)), 0, 223);
    auto demo = std::make_unique<LoopbackTransport>(clock, panel);
    demo->Panel().LoadSample();
    // [Demo] Walk=SECONDS in the settings file plays a walk test on the
    // demonstration plant: every SECONDS seconds the next device in alarm.
    const double walk = ParseNumber(GetProfileString(SettingsFilePath(s), "Demo", "Walk", "0"));
    if (walk >= 1 && walk <= 3600) demo->Panel().StartWalk(static_cast<int>(walk));
    // Bytes take their time on the line, as on a real cable.
    demo->SetPacing(true);
    s.link.PanelAddress = kDemoAddress;
    return demo;
}

}  // namespace cfg
