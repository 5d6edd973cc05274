// Models in session and the windows showing them.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit.h"

namespace vxhost {

struct Model {
    std::string name;          // without extension
    int type = PRO_MDL_PART;   // a ProMdlType, or any other number
    std::u16string folder;     // Windows path of its folder, e.g. D:\work\parts\ .
    int number = 0;            // 1, 2, ... : "model#N" in the journal
};

struct Window {
    int id = 0;
    Model* model = nullptr;
};

// "PRT", "ASM", "DRW", or empty for other types.
std::string model_type_text(int type);

class Session {
public:
    // Puts the model in session (once per name and type) and shows it in a
    // new window, which becomes the active one.
    ProMdl open(const std::string& name, int type, const std::u16string& folder);
    void close_all_windows();

    // The active window's model, or nullptr when no window is open.
    const Model* current() const;
    // The model a handle stands for; nullptr for a handle the host never gave.
    const Model* find(ProMdl handle) const;
    static ProMdl handle_of(const Model& model);

    const std::vector<Window>& windows() const { return windows_; }

private:
    std::vector<std::unique_ptr<Model>> models_;
    std::vector<Window> windows_;     // the last one is active
    int next_window_ = 1;
};

}  // namespace vxhost
