// An empty test program: the donor of the precompiled headers every test program reuses.
