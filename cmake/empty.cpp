// Placeholder so an empty subsystem still forms a library.
