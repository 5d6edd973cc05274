// Models in session and the windows showing them.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/model_files.h"
#include "toolkit.h"

namespace vxhost {

struct Model {
    std::string name;          // without extension
    int type = PRO_MDL_PART;   // a ProMdlType, or any other number
    std::u16string folder;     // Windows path of its folder, e.g. D:\work\parts\ .
    int number = 0;            // 1, 2, ... : "model#N" in the journal
    int version = 0;           // the stored version it was read from or saved as; 0: never stored
    ModelDocument document;    // what its file says of it, as changed in session
    std::vector<int> regenerated_sheets;   // a drawing's, in the order regenerated
    bool read_only = false;    // the host does not let it be saved
};

// A window of the host. The host opens a window on one model; the model
// is drawn in it once displayed. An emptied window shows no model.
struct Window {
    int id = 0;
    Model* model = nullptr;    // nullptr: empty
    bool shown = false;
};

// "PRT", "ASM", "DRW", or empty for other types.
std::string model_type_text(int type);

// "bracket.drw" -- how the host names a model to the user; a type with no
// files shows its number: "odd (type 3)".
std::string model_label(const Model& model);

// The models in session and the windows showing them. Names are compared
// ignoring case, as Windows compares file names: one model per name and
// type. Exactly one window is active while any is open, and the current
// model is the active window's.
class Session {
public:
    // Puts the model in session (see add) and shows it in a new window,
    // which becomes the active one.
    ProMdl open(const Model& model);
    ProMdl open(const std::string& name, int type, const std::u16string& folder);
    void close_all_windows();

    // Puts a model in session, or, when one of that name and type is there
    // already, gives it the new folder, version and note. HostError for a
    // name that the host's 32-unit name buffers cannot hold.
    Model& add(const Model& model);
    // The model of that name and type in session, or nullptr.
    Model* find(const std::string& name, int type);
    // Gives a model in session a new name, under which find() knows it
    // from now on; the caller has checked that no other model bears it.
    void rename(Model& model, const std::string& name);

    // Opens a new window on the model, not yet active; returns its id.
    int create_window(Model& model);
    // The newest window on the model, or nullptr.
    Window* window_of(const Model& model);
    Window* window(int id);
    // Makes the window active; false for an id that is no open window.
    bool activate(int id);
    // The window stays open and shows nothing; false for no such window.
    bool empty_window(int id);
    // The active window's id, 0 when no window is open.
    int active() const { return active_; }

    // The active window's model, or nullptr when no window is open or the
    // active one is empty.
    const Model* current() const;
    Model* current();
    // The model a handle stands for; nullptr for a handle the host never gave.
    const Model* find(ProMdl handle) const;
    Model* find(ProMdl handle);
    static ProMdl handle_of(const Model& model);

    const std::vector<Window>& windows() const { return windows_; }
    const std::vector<std::unique_ptr<Model>>& models() const { return models_; }

private:
    std::vector<std::unique_ptr<Model>> models_;
    // Look-ups by handle and by (folded name, type): an assembly of
    // thousands of parts asks for its models at every component.
    std::unordered_map<const void*, Model*> by_handle_;
    std::map<std::pair<std::u16string, int>, Model*> by_name_;
    std::vector<Window> windows_;     // in order of opening
    int active_ = 0;
    int next_window_ = 1;
};

}  // namespace vxhost
