Hull.Permeability=0.85
