#include "settings/inistuff.h"

// Reads every key of the settings file in its fixed order and applies each at once, through
// the owning window's menu handlers where the setting is a menu switch.
void LoadAllSettings()
{
}
