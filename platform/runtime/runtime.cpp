/*
 * runtime.cpp -- the toolkit runtime's entry points and call forwarding.
 *
 * The host loads the add-in's library and calls user_initialize_plus with
 * a table of its functions. The runtime resolves every function it may
 * forward, refuses to start when one is missing, then calls the add-in's
 * AddinInitialize. Each toolkit call the add-in makes is forwarded to the
 * function the host gave under that name.
 */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <type_traits>

#include "toolkit_host.h"

/* One pointer per host function, filled at start-up. */
#define DECLARE_SLOT(result, name, params, args) static result(*host_##name) params;
TK_FORWARDED_CALLS(DECLARE_SLOT)
#undef DECLARE_SLOT
#define DECLARE_TEXT_SLOT(result, name, params) static result(*host_##name) params;
TK_TEXT_CALLS(DECLARE_TEXT_SLOT)
#undef DECLARE_TEXT_SLOT

/* A forwarded call has the toolkit declaration's own signature. */
#define CHECK_SIGNATURE(result, name, params, args) \
    static_assert(std::is_same<decltype(&name), decltype(host_##name)>::value, #name);
TK_FORWARDED_CALLS(CHECK_SIGNATURE)
#undef CHECK_SIGNATURE

static int  runtime_started;
static char text_folder[4096];  /* <TEXT_DIR>/text/<language>, UTF-8 */

static void report(const ProHostTable *table, const char *what, const char *name)
{
    char message[256];

    if (table == NULL || table->report == NULL)
        return;
    snprintf(message, sizeof message, "toolkit runtime: %s%s", what, name ? name : "");
    table->report(message);
}

static ProHostFn lookup(const ProHostTable *table, const char *name)
{
    const ProHostEntry *entry;

    for (entry = table->entries; entry->name != NULL; entry++)
        if (strcmp(entry->name, name) == 0)
            return entry->fn;
    return NULL;
}

/* Resolve every host function; a missing one is reported by name. */
static ProError resolve_host_calls(const ProHostTable *table)
{
    ProError status = PRO_TK_NO_ERROR;

#define RESOLVE(name)                                                        \
    host_##name = reinterpret_cast<decltype(host_##name)>(lookup(table, #name)); \
    if (host_##name == NULL) {                                               \
        report(table, "the host table lacks ", #name);                       \
        status = PRO_TK_E_NOT_FOUND;                                         \
    }
#define RESOLVE_CALL(result, name, params, args) RESOLVE(name)
#define RESOLVE_TEXT_CALL(result, name, params) RESOLVE(name)
    TK_FORWARDED_CALLS(RESOLVE_CALL)
    TK_TEXT_CALLS(RESOLVE_TEXT_CALL)
#undef RESOLVE_TEXT_CALL
#undef RESOLVE_CALL
#undef RESOLVE
    return status;
}

static ProError set_text_folder(const ProHostTable *table)
{
    int n;

    if (table->text_dir == NULL || table->language == NULL) {
        report(table, "no text directory or language given", NULL);
        return PRO_TK_BAD_INPUTS;
    }
    n = snprintf(text_folder, sizeof text_folder, "%s/text/%s", table->text_dir, table->language);
    if (n < 0 || (size_t)n >= sizeof text_folder) {
        report(table, "text directory too long: ", table->text_dir);
        return PRO_TK_LINE_TOO_LONG;
    }
    return PRO_TK_NO_ERROR;
}

/* The runtime's own start-up: a table of the right version that holds
 * every function the add-in can call. */
static ProError runtime_startup(const ProHostTable *table)
{
    ProError status;

    if (table == NULL || table->entries == NULL)
        return PRO_TK_BAD_INPUTS;
    if (runtime_started) {
        report(table, "already started", NULL);
        return PRO_TK_BAD_CONTEXT;
    }
    if (table->version != PRO_HOST_TABLE_VERSION) {
        report(table, "unsupported host table version", NULL);
        return PRO_TK_BAD_CONTEXT;
    }
    status = resolve_host_calls(table);
    if (status != PRO_TK_NO_ERROR)
        return status;
    return set_text_folder(table);
}

/* The display version lives only for the call of AddinInitialize. */
static char *copy_display_version(const ProHostTable *table)
{
    const char *text = table->display_version ? table->display_version : table->version_text;
    size_t      size = strlen(text ? text : "") + 1;
    char       *copy = (char *)malloc(size);

    if (copy != NULL)
        memcpy(copy, text ? text : "", size);
    return copy;
}

extern "C" int user_initialize_plus(const ProHostTable *table)
{
    ProError status = runtime_startup(table);
    ProLine  error_text;
    char    *version;
    char     empty[1] = "";
    int      result;

    if (status != PRO_TK_NO_ERROR)
        return status;
    runtime_started = 1;
    memset(error_text, 0, sizeof error_text);
    version = copy_display_version(table);
    result = AddinInitialize(table->argc, table->argv, version ? version : empty,
                             (char *)(table->build_text ? table->build_text : ""), error_text);
    free(version);
    return result;
}

extern "C" void user_terminate_plus(void)
{
    if (!runtime_started)
        return;
    AddinTerminate();
    runtime_started = 0;
}

/* ---- forwarding ---------------------------------------------------------- */

#define FORWARD(result, name, params, args) \
    extern "C" result name params { return host_##name args; }
TK_FORWARDED_CALLS(FORWARD)
#undef FORWARD

extern "C" ProError ProMenubarMenuAdd(const char *menu, const char *label, const char *neighbour,
                                      ProBoolean add_after, const ProWchar *message_file)
{
    return host_ProMenubarMenuAdd(text_folder, menu, label, neighbour, add_after, message_file);
}

extern "C" ProError ProMenubarmenuMenuAdd(const char *parent, const char *menu, const char *label,
                                          const char *neighbour, ProBoolean add_after,
                                          const ProWchar *message_file)
{
    return host_ProMenubarmenuMenuAdd(text_folder, parent, menu, label, neighbour, add_after,
                                      message_file);
}

extern "C" ProError ProMenubarmenuPushbuttonAdd(const char *parent, const char *button,
                                                const char *label, const char *help,
                                                const char *neighbour, ProBoolean add_after,
                                                uiCmdCmdId command, const ProWchar *message_file)
{
    return host_ProMenubarmenuPushbuttonAdd(text_folder, parent, button, label, help, neighbour,
                                            add_after, command, message_file);
}

/* Values after the key are not forwarded: the add-in passes none. */
extern "C" ProError ProMessageDisplay(const ProWchar *message_file, const char *key, ...)
{
    return host_ProMessageDisplay(text_folder, message_file, key);
}

/* The host finds the layout in the resource folder of the text folder. */
extern "C" ProError ProUIDialogCreate(const char *dialog, const char *layout)
{
    return host_ProUIDialogCreate(text_folder, dialog, layout);
}
