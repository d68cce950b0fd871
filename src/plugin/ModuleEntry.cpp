// ORVUnits.upg is orv_plugin's entry points linked whole; this file only
// gives the module target a source of its own. Loading needs no entry code:
// the module finds its own file through dladdr (platform/ModulePath.h).
